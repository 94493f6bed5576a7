#pragma once
// Window placement against the monitors of the desktop.
#include <windows.h>

namespace forms {

// Moves a rectangle (keeping its size) so that its top-left corner lies in
// the work area and as much of it as fits is inside.
RECT PlaceInWorkArea(const RECT& window, const RECT& workArea);

// The rectangle unchanged when it touches any monitor, else placed in the
// primary monitor's work area.
RECT PlaceOnScreen(const RECT& window);

// The window's normal (not minimised, not maximised) rectangle in screen
// coordinates.
RECT RestoredWindowRect(HWND hwnd);

}  // namespace forms
