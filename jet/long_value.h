#pragma once
// Memo and OLE values. A row holds a 12-byte field header: the length (30
// bits) with two storage flags, and a row pointer. The value is either inline
// after the header, the whole of one row of a long-value page, or a chain of
// such rows, each starting with the pointer to the next.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/page_file.h"

namespace jet {

// The value's bytes. Throws kDamaged when the header, a pointer or the chain
// is broken, loops, or gives fewer bytes than the header's length.
std::vector<uint8_t> ReadLongValue(const PageFile& file, ByteView field, const std::string& what);

}  // namespace jet
