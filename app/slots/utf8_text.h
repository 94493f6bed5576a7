#pragma once
// Slot text as the UTF-8 that SQLite and the text file take.
#include <string>

namespace app {

// A lone surrogate becomes U+FFFD.
std::string ToUtf8(const std::wstring& text);

}  // namespace app
