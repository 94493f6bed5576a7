#pragma once
#include <windows.h>

namespace skin {

inline constexpr UINT_PTR kFadeTimerId = 1;
inline constexpr UINT kFadeIntervalMs = 15;

// Starts the command button's fade timer unless one runs; "TIMERID" holds
// the new timer's id (0 when SetTimer failed).
void StartFadeTimer(HWND window) noexcept;

// Kills the running fade timer, if any, and clears "TIMERID".
void StopFadeTimer(HWND window) noexcept;

}  // namespace skin
