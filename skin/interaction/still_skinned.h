#pragma once
#include <windows.h>

#include "skin/core/window_props.h"

namespace skin {

// Whether the window still carries the skin after its own procedure ran: a
// click may destroy the window or take the skin off it, and the handler must
// then leave it alone (no properties, no timer).
inline bool StillSkinned(HWND window) noexcept {
  return IsWindow(window) && GetSkinProp(window, prop::kProcAddr) != 0;
}

}  // namespace skin
