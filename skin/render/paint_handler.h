#pragma once
#include <windows.h>

namespace skin {

// WM_PAINT of a skinned window. Command buttons, editable drop-down combo
// boxes, progress bars and headers are painted entirely here (result 0);
// the other skinned kinds paint themselves first and get their frame, box,
// face or button drawn over it; unknown kinds are only passed on.
LRESULT OnSkinPaint(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) noexcept;

}  // namespace skin
