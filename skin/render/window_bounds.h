#pragma once
#include <windows.h>

namespace skin {

// A window's rectangle in screen coordinates, frame included, with its size.
struct WindowBounds {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
  LONG width = 0;
  LONG height = 0;
};

// Fills `bounds` from GetWindowRect; GetWindowRect's result. On failure the
// bounds are all zero.
BOOL GetWindowBounds(HWND window, WindowBounds& bounds) noexcept;

}  // namespace skin
