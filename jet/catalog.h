#pragma once
// The catalog: table MSysObjects, whose definition is always page 2, with one
// row per object of the database. A table's row gives its name and, in the
// low 24 bits of its Id, the page of its definition.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/page_file.h"
#include "jet/text_decode.h"

namespace jet {

struct CatalogEntry {
  std::u16string name;
  uint32_t definition_page = 0;
  bool system = false;  // flagged as a system table (MSys...)
};

// The tables the catalog lists, in its row order. Throws kDamaged when the
// catalog cannot be read or lacks the columns it needs.
std::vector<CatalogEntry> ReadCatalog(const PageFile& file, const CodePageDecoder& decode);

}  // namespace jet
