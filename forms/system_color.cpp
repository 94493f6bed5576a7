#include "forms/system_color.h"

namespace forms {

COLORREF ResolveColor(uint32_t color) {
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFFu));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

bool SystemHighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof(setting);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool (*HighContrastOn)() = &SystemHighContrastOn;

}  // namespace forms
