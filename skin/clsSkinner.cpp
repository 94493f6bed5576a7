#include "skin/clsSkinner.h"

#include "skin/core/engine_start.h"

namespace skin {

int clsSkinner::AttachSkin(HWND window) noexcept { return StartSkin(window); }

int clsSkinner::DetachSkin(HWND window) noexcept { return StopSkin(window); }

}  // namespace skin
