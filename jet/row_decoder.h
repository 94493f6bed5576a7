#pragma once
// One row's bytes into one value per column.
//
// A row starts with its column count, then the fixed-length columns at the
// offsets the definition gives, then the variable-length ones; it ends with
// the null mask (one bit per column number, 1 = not Null; a Boolean's value
// is its bit), before which come the number of variable-length columns, their
// offsets (last first) and the end of their data. Jet 3 keeps these offsets
// in single bytes and adds a jump table for rows longer than 255 bytes; Jet 4
// uses two bytes each. Columns added after a row was written are Null in it;
// columns deleted since keep their place but are no longer read.
#include <cstdint>
#include <string>
#include <vector>

#include "jet/page_file.h"
#include "jet/table_definition.h"
#include "jet/text_decode.h"
#include "jet/value.h"

namespace jet {

// Work a table read may do, counted in bytes of output; it keeps a damaged
// file that points many rows at the same data from costing more than the
// file's size gives reason for.
class ReadBudget {
 public:
  explicit ReadBudget(uint64_t bytes) : left_(bytes) {}
  void Spend(uint64_t bytes, const std::string& what);

 private:
  uint64_t left_;
};

class RowDecoder {
 public:
  // `what` names the table in errors.
  RowDecoder(const PageFile& file, const TableDefinition& def, const CodePageDecoder& decode, std::string what);

  Row Decode(ByteView row, ReadBudget* budget) const;

 private:
  struct Parts {
    uint32_t column_count = 0;
    size_t fixed_start = 0;
    size_t fixed_end = 0;
    ByteView null_mask;
    std::vector<size_t> var_offsets;  // one per stored variable-length column, then the end of their data
  };

  // Runs `step`, naming the table (and the column) in an error that does not yet.
  template <typename Step>
  auto WithContext(const Column* column, Step step) const -> decltype(step());
  Parts Split(ByteView row) const;
  void ReadVarOffsets(ByteView row, size_t mask_at, Parts* parts) const;
  void ReadVarOffsetTable(ByteView row, size_t mask_at, size_t jumps, Parts* parts) const;
  Value DecodeColumn(const Column& column, ByteView row, const Parts& parts) const;
  Value DecodeBytes(const Column& column, ByteView data) const;
  std::u16string DecodeText(const Column& column, ByteView data) const;

  const PageFile& file_;
  const TableDefinition& def_;
  const CodePageDecoder& decode_;
  std::string what_;
  bool jet3_;
};

}  // namespace jet
