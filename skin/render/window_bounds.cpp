#include "skin/render/window_bounds.h"

namespace skin {

BOOL GetWindowBounds(HWND window, WindowBounds& bounds) noexcept {
  RECT rect = {};
  const BOOL ok = GetWindowRect(window, &rect);
  if (!ok) rect = RECT{};
  bounds.left = rect.left;
  bounds.top = rect.top;
  bounds.right = rect.right;
  bounds.bottom = rect.bottom;
  bounds.width = rect.right - rect.left;
  bounds.height = rect.bottom - rect.top;
  return ok;
}

}  // namespace skin
