#pragma once
#include <windows.h>

namespace skin {

// Mouse messages of skinned windows. Each passes the message on first, then,
// for the kinds it knows, records the new visual state and draws the part
// that changed straight onto the window. The result is always that of the
// previous procedure.

// WM_LBUTTONDOWN: command buttons show the Pressed face at once; combo
// buttons (editable combos only inside the button zone), drive lists, check
// boxes and option buttons show Pressed; a header presses the item hit.
LRESULT OnSkinLButtonDown(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) noexcept;

// WM_LBUTTONDBLCLK: as a button down for command buttons and headers only.
LRESULT OnSkinLButtonDblClk(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                            LPARAM lParam) noexcept;

// WM_LBUTTONUP: command buttons fade to Normal from 60 and re-arm the hover;
// the other kinds show the state the pointer leaves them in.
LRESULT OnSkinLButtonUp(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept;

// WM_MOUSEMOVE: the first move inside asks for the leave notification (a
// command button starts fading to Hot); a captured command button dragged
// outside completes its face at once; the other kinds show Hot or Pressed.
LRESULT OnSkinMouseMove(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept;

// WM_MOUSELEAVE: back to Normal; a command button lays its hover face once at
// 140 and fades to Normal from 0.
LRESULT OnSkinMouseLeave(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) noexcept;

// WM_MOUSEHOVER: the previous procedure, then a command button's own repaint
// request for its hover look is dropped.
LRESULT OnSkinMouseHover(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) noexcept;

}  // namespace skin
