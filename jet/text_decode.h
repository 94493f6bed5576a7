#pragma once
// Text as Jet keeps it, turned into UTF-16. Jet 4 text is UTF-16 (little
// endian), optionally in its compressed form; Jet 3 text is bytes in a
// Windows code page, converted by a decoder the caller provides so that the
// reader itself makes no operating system call.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "jet/byte_view.h"

namespace jet {

// Converts `size` bytes in Windows code page `code_page` to UTF-16, appending
// to *out. Returns false when it cannot convert that code page or those bytes.
using CodePageDecoder = std::function<bool(uint16_t code_page, const uint8_t* bytes, size_t size, std::u16string* out)>;

// The built-in decoder: Windows-1252 (Western European, and code page 0),
// ISO 8859-1 (28591) and US-ASCII (20127). Other code pages return false.
bool DecodeWesternCodePage(uint16_t code_page, const uint8_t* bytes, size_t size, std::u16string* out);

// Jet 4 text: UTF-16LE, or when it starts with FF FE the compressed form, in
// which a zero byte switches between one byte per character (the high byte
// zero) and two. Throws kDamaged when the bytes end inside a character.
std::u16string DecodeJet4Text(ByteView bytes);

}  // namespace jet
