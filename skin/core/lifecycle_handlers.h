#pragma once
#include <windows.h>

namespace skin {

// WM_ACTIVATE: the other window (lParam) is skinned when it is owned by this
// one or is a form or dialog box; then the previous procedure runs.
LRESULT OnSkinActivate(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) noexcept;

// WM_SIZE: after the previous procedure, a command button's cached state
// images, bitmaps and rounded region follow its new size.
LRESULT OnSkinSize(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                   LPARAM lParam) noexcept;

// WM_WINDOWPOSCHANGING: after the previous procedure, a combo box's or drive
// list's button returns to its resting look (Pressed while the list is open).
LRESULT OnSkinWindowPosChanging(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam) noexcept;

// WM_DESTROY: the window (and a form's descendants) loses the skin, then the
// previous procedure runs.
LRESULT OnSkinDestroy(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept;

// WM_NCDESTROY: a window still skinned here (its WM_DESTROY never reached
// the skin) is released, then the previous procedure runs.
LRESULT OnSkinNcDestroy(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept;

// WM_ENTERIDLE and WM_CTLCOLORLISTBOX: after the previous procedure, the
// dialog, menu or list box named by lParam is skinned.
LRESULT OnSkinNewWindow(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept;

}  // namespace skin
