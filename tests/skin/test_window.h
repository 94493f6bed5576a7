#pragma once
#include <windows.h>

#include <string>

// A hidden message-only window of a class registered under the given name
// (registered on first use); destroyed with the object.
class TestWindow {
 public:
  explicit TestWindow(const std::wstring& className) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className.c_str();
    RegisterClassW(&wc);  // fails harmlessly when already registered
    handle_ = CreateWindowExW(0, className.c_str(), L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  }
  // A window of a system class with the given style.
  TestWindow(const wchar_t* systemClass, DWORD style, const wchar_t* text = L"") {
    handle_ = CreateWindowExW(0, systemClass, text, style, 0, 0, 80, 24, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  ~TestWindow() {
    if (handle_) DestroyWindow(handle_);
  }
  HWND get() const { return handle_; }

 private:
  HWND handle_ = nullptr;
};
