#pragma once
#include <windows.h>

#include "skin/core/visual_state.h"

namespace skin {

// Push and default-push buttons (style bits 1 and 2 clear) are drawn by the
// skin; every other button type keeps its own painting.
inline bool IsSkinDrawnButtonStyle(LONG_PTR originalStyle) noexcept {
  return (originalStyle & 6) == 0;
}

// Draws the four cached state images of a command button (face, caption and,
// while it has the focus, the focus frame) at the window's current size.
void RenderButtonStates(HWND window) noexcept;

// Gives a command button of width x height its rounded-corner window region.
void ShapeButtonRegion(HWND window, int width, int height) noexcept;

// Blends the cached image of the button's "OLDSTATE" over it at opacity
// "ALPHALEVEL", on `surface` or, when that is 0, on the window's surface.
// A disabled window is switched to the disabled state first. Buttons whose
// original style was not a push button keep their own painting. Returns 0.
int PaintButtonBlend(HWND window, HDC surface) noexcept;

// The same at opacity `alpha`, for a caller that has just read "ALPHALEVEL".
int PaintButtonBlendAt(HWND window, HDC surface, LONG_PTR alpha) noexcept;

// Blends the image of `state` (of the disabled state, recorded in "OLDSTATE",
// for a disabled window) at opacity `alpha` without storing either: for a
// face shown once on the way to another.
void PaintButtonFace(HWND window, VisualState state, LONG_PTR alpha) noexcept;

}  // namespace skin
