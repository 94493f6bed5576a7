#include "app/tip_text.h"

namespace app {

std::wstring SlotTipText(const std::wstring& text) {
  size_t cut = text.size() > kTipMaxChars ? kTipMaxChars : text.size();
  size_t lines = 1;
  for (size_t i = 0; i < cut; ++i) {
    if (text[i] != L'\n') continue;
    if (++lines > kTipMaxLines) {
      // The line break (and a CR before it) goes with the lines dropped.
      cut = i > 0 && text[i - 1] == L'\r' ? i - 1 : i;
      break;
    }
  }
  if (cut == text.size()) return text;
  if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
  return text.substr(0, cut) + L"…";
}

}  // namespace app
