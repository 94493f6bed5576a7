#pragma once
// A hidden message-only window whose messages go to a handler, for objects
// that need timers, notifications posted to themselves or the clipboard
// owner's messages. No exception leaves the window procedure: a handler that
// throws is reported like a failed event handler.
#include <windows.h>

#include <functional>

namespace forms {

class MessageWindow {
 public:
  // Returns true when it handled the message and set the result; other
  // messages get the default handling.
  using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  explicit MessageWindow(Handler handler);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND hwnd_ = nullptr;
};

}  // namespace forms
