#include "skin/render/progress_fill.h"

#include <commctrl.h>

#include "skin/render/round_half_even.h"

namespace skin {

float ProgressFraction(HWND bar) noexcept {
  const auto position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  return static_cast<float>(position) / 30000.0f;
}

int ProgressFillLength(int extent, float fraction) noexcept {
  return RoundHalfEven(static_cast<double>(extent) * static_cast<double>(fraction));
}

}  // namespace skin
