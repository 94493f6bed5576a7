#pragma once
#include <windows.h>

#include "skin/core/visual_state.h"

namespace skin {

// Draw the check box's square, or the option button's round face, the size
// of a menu check mark at the window's DPI, over the control's own painting
// at its left edge, vertically centred, with the mark for its BM_GETCHECK
// value. Without `force`, a state equal to "OLDSTATE" draws nothing and 0 is
// returned; otherwise the state is stored in "OLDSTATE", the control drawn
// and 1 returned.
int PaintCheckBox(HWND window, VisualState state, bool force) noexcept;
int PaintOptionButton(HWND window, VisualState state, bool force) noexcept;

}  // namespace skin
