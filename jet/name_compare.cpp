#include "jet/name_compare.h"

namespace jet {
namespace {

bool Between(char16_t c, char16_t low, char16_t high) { return c >= low && c <= high; }

}  // namespace

char16_t FoldCase(char16_t c) {
  auto plus = [c](int n) { return static_cast<char16_t>(c + n); };
  if (Between(c, u'A', u'Z')) return plus(32);
  if (c < 0xC0) return c;
  if (Between(c, 0xC0, 0xDE) && c != 0xD7) return plus(32);
  // Latin Extended-A: capitals and small letters alternate.
  if (Between(c, 0x100, 0x12F) || Between(c, 0x132, 0x137) || Between(c, 0x14A, 0x177)) return c % 2 ? c : plus(1);
  if (Between(c, 0x139, 0x148) || Between(c, 0x179, 0x17E)) return c % 2 ? plus(1) : c;
  if (c == 0x178) return 0xFF;
  if (Between(c, 0x391, 0x3AB) && c != 0x3A2) return plus(32);
  if (c == 0x386) return 0x3AC;
  if (Between(c, 0x388, 0x38A)) return plus(37);
  if (c == 0x38C) return 0x3CC;
  if (Between(c, 0x38E, 0x38F)) return plus(63);
  if (Between(c, 0x410, 0x42F)) return plus(32);
  if (Between(c, 0x400, 0x40F)) return plus(80);
  if (Between(c, 0xFF21, 0xFF3A)) return plus(32);
  return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

}  // namespace jet
