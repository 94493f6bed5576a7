#include "forms/text_preview.h"

#include <algorithm>

namespace forms {

size_t PreviewLength(std::wstring_view text, size_t lines, size_t lineChars) {
  const size_t most = lines == 0 || lineChars == 0 ? 0 : std::min(text.size(), lines * lineChars);
  size_t cut = most;
  size_t seen = 0;
  for (size_t i = 0; i < most; ++i) {
    if (text[i] == L'\n' && ++seen == lines) {
      cut = i + 1;
      break;
    }
  }
  if (cut >= text.size()) return text.size();
  // Keep a pair together: a high surrogate or a CR is not left at the end.
  if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
  if (cut > 0 && text[cut - 1] == L'\r' && text[cut] == L'\n') --cut;
  return cut;
}

}  // namespace forms
