#pragma once
#include <windows.h>

namespace skin {

// Asks for one WM_MOUSELEAVE for the window, through user32's
// TrackMouseEvent when the engine's probe found it, else comctl32's
// _TrackMouseEvent. The result is not used.
void TrackMouseLeave(HWND window) noexcept;

// The first call while "MOUSEFLAG" is 0 sets it to 1 and asks for the leave
// notification; later calls do nothing until the flag is cleared. The window
// armed before it, if still flagged, is left at once (WM_MOUSELEAVE): its
// own request was cancelled by this one. A request the system did not take
// (the pointer had already gone) is answered with a leave of its own.
void ArmMouseLeave(HWND window) noexcept;

// Posts WM_MOUSELEAVE to the window unless one is already queued for it.
void PostMouseLeave(HWND window) noexcept;

}  // namespace skin
