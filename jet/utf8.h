#pragma once
// UTF-16 to UTF-8, for messages and for tools that print what they read.
#include <string>

namespace jet {

// A lone surrogate becomes U+FFFD.
std::string ToUtf8(const std::u16string& text);

}  // namespace jet
