#pragma once
#include <windows.h>

namespace skin {

// EnumChildWindows callback: a skinned check box or option button is redrawn
// Normal (forced) with its current mark; other windows are left alone.
// Always continues the enumeration.
BOOL CALLBACK RefreshOptionSiblingsProc(HWND window, LPARAM) noexcept;

// WM_LBUTTONUP as SkinWndProc handles it: OnSkinLButtonUp, then every skinned
// check box and option button under the window's parent (or under the window
// itself when it has none) is redrawn, so a changed choice shows at once.
LRESULT OnSkinLButtonUpAndRefreshSiblings(WNDPROC previous, HWND window, UINT message,
                                          WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace skin
