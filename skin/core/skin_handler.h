#pragma once
#include <windows.h>

namespace skin {

// A skin message handler: the window's previous procedure and the message;
// returns the message result.
using SkinHandler = LRESULT (*)(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam) noexcept;

// Hands the message to the previous procedure unchanged.
inline LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept {
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace skin
