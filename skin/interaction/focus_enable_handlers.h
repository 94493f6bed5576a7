#pragma once
#include <windows.h>

namespace skin {

// WM_SETFOCUS and WM_KILLFOCUS (handled alike): a command button renders its
// state images again, with or without the focus frame, and fades the current
// one in from 0; an option button is redrawn Normal.
LRESULT OnSkinSetFocus(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) noexcept;
LRESULT OnSkinKillFocus(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept;

// WM_ENABLE: a command button switches to Normal or Disabled and blends that
// image at its current level. The message is passed on first throughout.
LRESULT OnSkinEnable(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                     LPARAM lParam) noexcept;

}  // namespace skin
