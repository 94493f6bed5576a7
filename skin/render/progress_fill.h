#pragma once
#include <windows.h>

namespace skin {

// A progress bar's position as a share of 30000, whatever its own range.
float ProgressFraction(HWND bar) noexcept;

// Pixels of `extent` that the fraction covers, rounded half to even. Not
// clamped: a position above 30000 gives more than the extent.
int ProgressFillLength(int extent, float fraction) noexcept;

}  // namespace skin
