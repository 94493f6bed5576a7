#pragma once
#include <windows.h>

#include "skin/core/visual_state.h"

namespace skin {

// Draws the drop-down button of a combo box or drive list box at the right
// end, as wide as a scroll bar at the window's DPI, inside a one-pixel frame,
// on `surface` or (0) the window's surface. While the list is dropped down
// the state becomes Pressed, also for the caller. Without `force`, a state
// equal to "OLDSTATE" draws nothing. A simple combo box (no button) is left
// alone, "OLDSTATE" included.
void PaintComboButton(HWND window, HDC surface, VisualState& state, bool force) noexcept;

}  // namespace skin
