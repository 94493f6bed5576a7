#pragma once
// A usage map: the bitmap that lists the pages a table owns. It is kept in a
// row either whole (type 0: a first page number and the bits) or as a list of
// usage map pages (type 1) that each hold the bits of one stretch of the file.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/page_file.h"

namespace jet {

// The pages the map at `map` marks, in ascending order. Throws kDamaged for a
// map of unknown type or one that lists a page the file does not have.
std::vector<uint32_t> ReadUsageMap(const PageFile& file, RowPointer map, const std::string& what);

}  // namespace jet
