#pragma once
// A multi-line text box: a system "Edit" window with a sunken edge. Change
// runs on every change of the text, by code or by typing.
//
// While the box is not in use, a text longer than the box can show is laid
// out only as far as it fills the box; the window still answers WM_GETTEXT
// and WM_GETTEXTLENGTH with the whole text. The rest is laid out the moment
// the box is used: focus, a click, the wheel, its scroll bar, an edit or a
// query of its lines or selection.
#include <windows.h>

#include <functional>
#include <string>

#include "forms/control.h"

namespace forms {

struct TextBoxOptions {
  bool verticalScrollBar = false;
};

class TextBox : public Control {
 public:
  TextBox(Form& form, int id, const ControlLayout& layout, TextBoxOptions options = {},
          uint32_t foreColor = 0x80000008u, uint32_t backColor = 0x80000005u);
  ~TextBox() override;

  // An edit window cannot hold a NUL character: a text with one is shown
  // with U+2400 in its place, and Text() gives it back whole until the text
  // is edited (then the text as shown counts).
  std::wstring Text() const;
  // The first `count` characters of the text as shown (all of a shorter text).
  std::wstring TextStart(size_t count) const;
  void SetText(const std::wstring& text);

  // How many characters of the text the window holds while it holds only
  // the start of it; 0 while it holds all of it.
  size_t PartLength() const { return partial_ ? partLength_ : 0; }

  std::function<void()> OnChange;
  std::function<void()> OnGotFocus;

  void OnCommand(WORD code) override;

 private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(WNDPROC next, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  // Takes `text` as the box's text; returns what the window is to hold.
  std::wstring Present(std::wstring text);
  // Present, hand the result to `send`, and raise Change if the window did not.
  template <typename Send>
  LRESULT TakeText(std::wstring text, Send send);
  // The number of characters of shown_ that fill the box as it is now.
  size_t FillLength() const;
  // Gives the window the whole text, or more of it after a resize.
  void Expand();
  void Refill();
  LRESULT PassText(const wchar_t* text);

  bool changeNotified_ = false;
  bool settingText_ = false;  // SetText's own WM_SETTEXT
  bool quiet_ = false;        // the window's text changes, the box's does not
  bool partial_ = false;      // the window holds the first partLength_ of shown_
  size_t partLength_ = 0;
  std::wstring whole_;  // a text with NUL characters as set
  std::wstring shown_;  // and as shown; kept too while the window holds part of it
};

}  // namespace forms
