#pragma once
// Base of the child controls of a form: a child window with its position and
// size in twips (relative to the form's client area), colours, tab index,
// visibility and tooltip.
#include <windows.h>

#include <cstdint>
#include <string>

#include "forms/gdi_object.h"
#include "forms/twips.h"

namespace forms {

class Form;

// Position and size in twips, relative to the form's client area.
using ControlLayout = TwipsRect;

// The text of any window (empty for a null handle).
std::wstring WindowTextOf(HWND hwnd);

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND hwnd() const { return hwnd_; }
  int Id() const { return id_; }
  Form& Parent() const { return form_; }

  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(double left, double top, double width, double height);

  bool Visible() const;
  void SetVisible(bool visible);

  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index);

  uint32_t ForeColor() const { return foreColor_; }
  uint32_t BackColor() const { return backColor_; }
  void SetColors(uint32_t foreColor, uint32_t backColor);

  // The tip as the form's tooltip window holds it.
  std::wstring ToolTipText() const;
  void SetToolTipText(const std::wstring& text);

  std::wstring WindowText() const;

  // Takes the default font for the window's current DPI.
  virtual void RefreshFont();

  // Called by the form for the control's notifications.
  virtual void OnCommand(WORD code);
  // Colours for WM_CTLCOLOR*: sets up the DC, returns the background brush.
  virtual HBRUSH OnCtlColor(HDC dc);

  static Control* FromHandle(HWND hwnd);

 protected:
  Control(Form& form, int id, uint32_t foreColor, uint32_t backColor);
  // Creates the window; sizes in twips. The font is the default UI font.
  void CreateWindowFor(const wchar_t* className, const wchar_t* text, DWORD style,
                       DWORD exStyle, const ControlLayout& layout);

 private:
  RECT RectInParent() const;
  void SetRectInParent(const RECT& rect);

  Form& form_;
  int id_;
  HWND hwnd_ = nullptr;
  int tabIndex_ = 0;
  uint32_t foreColor_;
  uint32_t backColor_;
  Brush backBrush_;
  COLORREF backBrushColor_ = CLR_INVALID;
};

}  // namespace forms
