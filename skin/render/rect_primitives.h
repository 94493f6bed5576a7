#pragma once
#include <windows.h>

namespace skin {

// Rectangles are origin plus size: (x, y, width, height).

// Fills the rectangle with a solid colour; FillRect's result.
int FillSolidRect(HDC dc, int x, int y, int width, int height, COLORREF colour) noexcept;

// A one-pixel frame just inside the rectangle; FrameRect's result.
int FrameSolidRect(HDC dc, int x, int y, int width, int height, COLORREF colour) noexcept;

// The dotted focus rectangle, drawn by inversion (a second call removes it);
// DrawFocusRect's result.
BOOL DrawFocusFrame(HDC dc, int x, int y, int width, int height) noexcept;

}  // namespace skin
