#include "forms/ui_font.h"

#include <map>
#include <utility>

#include "forms/dpi_metrics.h"
#include "forms/gdi_object.h"
#include "forms/twips.h"

namespace forms {

HFONT DefaultUiFont() {
  static std::map<int, Font> fonts;
  const int dpi = WindowDpi();
  auto found = fonts.find(dpi);
  if (found == fonts.end()) {
    Font font;
    LOGFONTW message{};
    if (MessageFontAtDpi(dpi, message)) font = Font(CreateFontIndirectW(&message));
    found = fonts.emplace(dpi, std::move(font)).first;
  }
  return found->second ? found->second.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace forms
