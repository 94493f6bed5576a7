#pragma once
#include <windows.h>

#include "skin/core/control_kind.h"
#include "skin/core/visual_state.h"

namespace skin {

// The face changes of buttons shared by several input handlers.

// Stops any fade and shows the Pressed face at full opacity at once; the
// level is left at 0.
void ShowPressedFace(HWND window) noexcept;

// Stops any fade and completes the current face at full opacity; the level
// stays 255.
void CompleteFace(HWND window) noexcept;

// Fades the image of `state` in from `level` on the button's fade timer
// (started unless one runs; a running one carries on from here). The
// handler drops the button's own repaint request (OwnRepaintRequest), which
// would cut the fade short; the fade's last step draws the whole window.
void FadeTo(HWND window, VisualState state, LONG_PTR level) noexcept;

// A check box or option button (by `kind`) is drawn in `state` as
// PaintCheckBox or PaintOptionButton would; other kinds are left alone.
void PaintCheckOrOption(HWND window, ControlKind kind, VisualState state, bool force) noexcept;

}  // namespace skin
