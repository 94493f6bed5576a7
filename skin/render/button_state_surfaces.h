#pragma once
#include <windows.h>

namespace skin {

inline constexpr int kButtonStateCount = 4;  // Normal, Hot, Pressed, Disabled

// A command button keeps one memory surface per visual state ("0HDC".."3HDC"),
// each holding a bitmap of the whole window's size ("0BMP".."3BMP"). They are
// counted in LiveGdiObjects() while they exist.

// Makes the four surfaces (CreateMemoryDC), width x height.
void CreateButtonStateSurfaces(HWND window, int width, int height) noexcept;

// Gives each surface a new width x height bitmap and deletes the one it held.
void ResizeButtonStateSurfaces(HWND window, int width, int height) noexcept;

// Deletes the four surfaces and their bitmaps and removes the eight properties.
void DeleteButtonStateSurfaces(HWND window) noexcept;

// The surface of state 0..3; 0 for any other state or when absent.
HDC ButtonStateSurface(HWND window, int state) noexcept;

}  // namespace skin
