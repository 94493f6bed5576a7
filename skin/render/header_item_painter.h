#pragma once
#include <windows.h>

#include <string>

#include "skin/core/visual_state.h"

namespace skin {

// The text of header item `index` (at most 255 characters); empty when the
// item has none or the window is no header.
std::wstring HeaderItemText(HWND header, int index);

// The header face of a state: Hot and Pressed have their own, all others Normal.
int HeaderFaceX(VisualState state) noexcept;

// Draws the face of `state` for header item `index` at x on `surface`,
// width x faceHeight, with the item's text centred in width x textHeight.
void DrawHeaderItemFace(HDC surface, HWND header, int index, VisualState state, int x, int width,
                        int faceHeight, int textHeight) noexcept;

// Draws item `index` of a header in the face of `state` with its text, on
// `surface` or (0) the window's surface. A negative index draws nothing.
// Returns 0.
int PaintHeaderItem(HWND window, HDC surface, int index, VisualState state) noexcept;

}  // namespace skin
