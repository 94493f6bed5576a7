#include "forms/ui_font.h"

#include "forms/gdi_object.h"

namespace forms {

HFONT DefaultUiFont() {
  static Font font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
      return Font(CreateFontIndirectW(&metrics.lfMessageFont));
    return Font();
  }();
  return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace forms
