#include "skin/interaction/fade_timer.h"

#include "skin/core/window_props.h"

namespace skin {

void StartFadeTimer(HWND window) noexcept {
  if (GetSkinProp(window, prop::kTimerId) != 0) return;
  const UINT_PTR id = SetTimer(window, kFadeTimerId, kFadeIntervalMs, nullptr);
  SetSkinProp(window, prop::kTimerId, static_cast<LONG_PTR>(id));
}

void StopFadeTimer(HWND window) noexcept {
  const LONG_PTR id = GetSkinProp(window, prop::kTimerId);
  if (id == 0) return;
  KillTimer(window, static_cast<UINT_PTR>(id));
  SetSkinProp(window, prop::kTimerId, 0);
}

}  // namespace skin
