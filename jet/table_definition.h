#pragma once
// A table's definition (TDEF) pages: its columns and where its pages are
// listed. The definition may run over several pages linked by a next-page
// number; the chain is followed once, never round a loop.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/page_file.h"
#include "jet/text_decode.h"

namespace jet {

enum class ColumnType : uint8_t {
  kBoolean = 0x01,
  kByte = 0x02,
  kInt16 = 0x03,
  kInt32 = 0x04,
  kMoney = 0x05,
  kFloat = 0x06,
  kDouble = 0x07,
  kDateTime = 0x08,
  kBinary = 0x09,
  kText = 0x0A,
  kOle = 0x0B,
  kMemo = 0x0C,
  kGuid = 0x0F,
  kNumeric = 0x10,
  // Any other number is kept as read.
};

struct Column {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  uint16_t number = 0;        // its bit in a row's null mask; deleted columns keep theirs
  uint16_t var_index = 0;     // variable-length columns: its entry in a row's offset table
  uint16_t fixed_offset = 0;  // fixed-length columns: its offset in a row's fixed part
  uint16_t length = 0;        // declared length in bytes (0 for memo and OLE)
  uint16_t code_page = 0;     // Jet 3 text: the column's code page (0: the database's)
  uint8_t precision = 0;      // Decimal: its digits in all
  uint8_t scale = 0;          // Decimal: how many of them follow the point
  bool fixed = false;
};

struct TableDefinition {
  uint32_t page = 0;             // its first page
  uint32_t recorded_rows = 0;    // the row count the definition records
  uint16_t var_column_count = 0;
  RowPointer used_pages;         // the row holding the map of the table's pages
  std::vector<Column> columns;   // in column number order
};

// Reads the definition starting at `page`; `what` names the table in errors.
// Column names of Jet 3 files are decoded with `decode` in the database's code
// page. Throws kDamaged (kCodePage for a name it cannot decode).
TableDefinition ReadTableDefinition(const PageFile& file, uint32_t page, const CodePageDecoder& decode,
                                    const std::string& what);

}  // namespace jet
