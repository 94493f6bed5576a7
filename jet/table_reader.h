#pragma once
// A table's rows in file order: the data pages in the order its usage map
// lists them, the rows of each page in the order of its row table. Deleted
// rows are passed by; a row moved to another page (an overflow row) is read
// where it now lives, in the place of the original.
#include <functional>
#include <string>

#include "jet/page_file.h"
#include "jet/row_decoder.h"
#include "jet/table_definition.h"
#include "jet/text_decode.h"

namespace jet {

// Calls `on_row` once per row. Throws what reading a row throws; rows before
// the failure have been given.
void ReadRows(const PageFile& file, const TableDefinition& def, const CodePageDecoder& decode,
              const std::string& what, const std::function<void(Row&&)>& on_row);

}  // namespace jet
