#pragma once
// The start of a long text that fills a text box which is not in use, so that
// a box one line high does not lay out a megabyte it cannot show.
#include <cstddef>
#include <string_view>

namespace forms {

// How many characters from the start of `text` fill `lines` lines of at most
// `lineChars` characters each: the text up to the end of its `lines`-th line,
// and no more than lines * lineChars characters. The cut never splits a
// surrogate pair or a CR LF. text.size() when the whole text fits.
size_t PreviewLength(std::wstring_view text, size_t lines, size_t lineChars);

}  // namespace forms
