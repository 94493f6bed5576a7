#pragma once
#include <windows.h>

namespace skin {

// Only the space bar changes the look; every key is passed on first and the
// previous procedure's result returned.

// WM_KEYDOWN: space shows Pressed (a command button at once at full opacity,
// again on every auto-repeat).
LRESULT OnSkinKeyDown(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept;

// WM_KEYUP: space returns to Normal (a command button fades in from 0).
LRESULT OnSkinKeyUp(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) noexcept;

}  // namespace skin
