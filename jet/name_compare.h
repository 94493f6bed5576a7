#pragma once
// Table and column names compared as Jet compares them: without regard to
// case. Letters are folded for ASCII, Latin-1, Latin Extended-A, Greek,
// Cyrillic and the fullwidth Latin letters.
#include <string_view>

namespace jet {

char16_t FoldCase(char16_t c);
bool SameName(std::u16string_view a, std::u16string_view b);

}  // namespace jet
