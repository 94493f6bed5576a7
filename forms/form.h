#pragma once
// A top-level form. Its window class is "ThunderRT6FormDC"; its window
// procedure finds the Form from the window handle, so it works when other
// procedures are chained in front of it with SetWindowLongPtrW/CallWindowProcW.
//
// Events: Load (called by Load() before the window is first shown), Resize
// (every WM_SIZE once loaded, and at the first Show), Unload (once, on
// WM_CLOSE or when the session ends). Lengths in twips follow the window's
// DPI, also when it moves to a monitor with another scale. Handler failures are reported through
// App::ReportError and never leave the window procedure.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/tool_tips.h"
#include "forms/twips.h"

namespace forms {

class Control;

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class Form {
 public:
  static constexpr const wchar_t* kClassName = L"ThunderRT6FormDC";

  explicit Form(const std::wstring& caption);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  HWND hwnd() const { return hwnd_; }

  std::function<void()> OnLoad;
  std::function<void()> OnResize;
  std::function<void()> OnUnload;

  // Runs the Load event; returns false when it failed.
  bool Load();
  void Show();
  // Closes the form as the user would (WM_CLOSE): Unload, then destroy.
  void Close();
  // Destroys the window without Unload (events are dropped first).
  void Destroy();
  bool Unloaded() const { return unloaded_; }
  // True while the session ends (WM_ENDSESSION): the user is logging off or
  // shutting down, no box may wait for an answer, and the system ends the
  // process soon after.
  bool SessionEnding() const { return sessionEnding_; }
  // The message loop ends (WM_QUIT) when this form's window is destroyed.
  void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

  // Outer window rectangle in screen twips.
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(double left, double top, double width, double height);
  // The rectangle the window has when neither minimised nor maximised, in
  // screen twips (valid in every state).
  TwipsRect RestoredBounds() const;
  // Moves the window onto the primary monitor's work area when it lies wholly
  // outside every monitor.
  void KeepOnScreen();

  void SetTopMost();

  WindowState GetWindowState() const;
  void SetWindowState(WindowState state);
  bool Visible() const;
  void SetVisible(bool visible);

  std::wstring Caption() const;
  // The title bar's icon, and the one Alt+Tab shows (the same when null).
  void SetIcon(HICON icon, HICON large = nullptr);


  uint32_t BackColor() const { return backColor_; }

  ToolTips& ToolTipWindow() { return toolTips_; }

  // Child control bookkeeping (called by Control).
  void Register(Control* control);
  void Unregister(Control* control);
  // The registered control whose window this is, if any.
  Control* FindControl(HWND hwnd) const;
  // Orders the child windows by tab index (the system's tab order).
  void ApplyTabOrder();
  // A control's tab index changed or a control was added.
  void TabOrderChanged();

  static Form* FromHandle(HWND hwnd);
  // The form's own window procedure.
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // WM_DPICHANGED: the controls keep their twips at the new DPI, take the
  // font for it, and the window takes the suggested rectangle.
  void OnDpiChanged(int dpi, const RECT& suggested);
  void UnloadAndDestroy();
  void RaiseResize();
  RECT WindowRect() const;
  void SetWindowRect(const RECT& rect, UINT flags);

  HWND hwnd_ = nullptr;
  ToolTips toolTips_;
  std::vector<Control*> controls_;
  bool loaded_ = false;
  bool shownOnce_ = false;
  bool unloaded_ = false;
  bool quitOnDestroy_ = false;
  bool sessionEnding_ = false;
  uint32_t backColor_ = 0x8000000Fu;
};

}  // namespace forms
