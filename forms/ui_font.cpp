#include "forms/ui_font.h"

#include <map>
#include <utility>

#include "forms/gdi_object.h"
#include "forms/twips.h"

namespace forms {

HFONT DefaultUiFont() {
  static std::map<int, Font> fonts;
  const int dpi = WindowDpi();
  auto found = fonts.find(dpi);
  if (found == fonts.end()) {
    Font font;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
      // The metrics are given at the screen's DPI.
      metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi());
      font = Font(CreateFontIndirectW(&metrics.lfMessageFont));
    }
    found = fonts.emplace(dpi, std::move(font)).first;
  }
  return found->second ? found->second.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace forms
