#pragma once
// The first page of a Jet file: which format it is, its page size, the code
// page of its Jet 3 text, and whether it is encrypted or password protected.
#include <cstdint>

#include "jet/byte_view.h"

namespace jet {

enum class Format { kJet3, kJet4 };

struct FileHeader {
  Format format = Format::kJet4;
  uint32_t page_size = 4096;
  uint16_t code_page = 0;  // the database's default code page (Jet 3 text)
  bool password = false;   // a database password is set (the pages are not encrypted by it)
};

// Throws Error kNotJet (no Jet signature), kNewerFormat (ACE or an unknown
// version), kEncrypted (a database key is set: the pages are encrypted) or
// kDamaged (shorter than one page). A part page at the end is not read.
FileHeader ReadFileHeader(ByteView file);

}  // namespace jet
