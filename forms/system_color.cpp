#include "forms/system_color.h"

namespace forms {

COLORREF ResolveColor(uint32_t color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

}  // namespace forms
