#pragma once
#include <windows.h>

namespace skin {

inline constexpr LONG_PTR kFadeStep = 3;       // added to "ALPHALEVEL" after each step
inline constexpr LONG_PTR kFadeTopLevel = 255;  // the last level drawn

// WM_TIMER: on a command button, blends its "OLDSTATE" image at "ALPHALEVEL"
// and raises the level by kFadeStep; the step past kFadeTopLevel stops the
// fade timer and leaves the level at 0. Every WM_TIMER makes one step, fade
// timer or not. The message is passed on after the step; its result is
// returned. Other kinds only pass the message on.
LRESULT OnSkinTimer(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) noexcept;

}  // namespace skin
