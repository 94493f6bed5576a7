#pragma once
// A short note shown in a corner of the screen without taking the focus or
// the keyboard from the window the user works in: no modal box in the way.
// It goes by itself after a while, or at a click; a new note replaces the
// one still shown.
#include <windows.h>

#include <string>

namespace forms {

class NoticePopup {
 public:
  static constexpr wchar_t kClassName[] = L"FormsNoticePopup";

  NoticePopup() = default;
  ~NoticePopup();
  NoticePopup(const NoticePopup&) = delete;
  NoticePopup& operator=(const NoticePopup&) = delete;

  // Shows the text at the bottom right of the work area of the monitor that
  // holds `beside` (the primary one for none), for showMs.
  void Show(const std::wstring& text, HWND beside, UINT showMs = 8000);
  void Hide();
  // The popup window while a note is shown (its text is the note), else null.
  HWND hwnd() const { return hwnd_ && IsWindowVisible(hwnd_) ? hwnd_ : nullptr; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND hwnd_ = nullptr;
};

}  // namespace forms
