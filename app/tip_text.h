#pragma once
// The tooltip of a slot's text box: the slot's text, or as much of it as a tip
// can show with an ellipsis after it.
#include <cstddef>
#include <string>

namespace app {

inline constexpr size_t kTipMaxChars = 512;
inline constexpr size_t kTipMaxLines = 24;

// The text whole when it has at most kTipMaxChars characters in at most
// kTipMaxLines lines; else its start within both limits followed by "…".
// A surrogate pair is never split.
std::wstring SlotTipText(const std::wstring& text);

}  // namespace app
