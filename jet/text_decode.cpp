#include "jet/text_decode.h"

namespace jet {
namespace {

// Windows-1252 at 0x80-0x9F; the five bytes the code page leaves undefined map
// to the control character of the same number, as Windows converts them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool DecodeWesternCodePage(uint16_t code_page, const uint8_t* bytes, size_t size, std::u16string* out) {
  if (code_page != 0 && code_page != 1252 && code_page != 28591 && code_page != 20127) return false;
  out->reserve(out->size() + size);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t byte = bytes[i];
    if (byte >= 0x80 && code_page == 20127) return false;
    const bool windows = code_page != 28591;
    out->push_back(windows && byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : char16_t{byte});
  }
  return true;
}

std::u16string DecodeJet4Text(ByteView bytes) {
  const uint8_t* data = bytes.data();
  const size_t size = bytes.size();
  std::u16string text;
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    text.reserve(size - 2);
    bool one_byte = true;
    for (size_t i = 2; i < size;) {
      if (data[i] == 0) {
        one_byte = !one_byte;
        ++i;
      } else if (one_byte) {
        text.push_back(char16_t{data[i]});
        ++i;
      } else if (i + 1 < size) {
        text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
        i += 2;
      } else {
        Damaged("a compressed text of " + std::to_string(size) + " bytes ends inside a character");
      }
    }
    return text;
  }
  if (size % 2 != 0) Damaged("a text of " + std::to_string(size) + " bytes ends inside a character");
  text.reserve(size / 2);
  for (size_t i = 0; i < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  return text;
}

}  // namespace jet
