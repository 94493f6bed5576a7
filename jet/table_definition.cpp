#include "jet/table_definition.h"

#include <algorithm>
#include <set>

namespace jet {
namespace {

struct Layout {
  size_t row_count;
  size_t var_column_count;
  size_t column_count;
  size_t real_index_count;
  size_t used_pages;
  size_t real_indexes;  // where the physical index entries start
  size_t real_index_size;
  size_t column_size;
  size_t col_number, col_var_index, col_flags, col_fixed_offset, col_length;
};

constexpr Layout kJet3 = {12, 23, 25, 31, 35, 43, 8, 18, 1, 3, 13, 14, 16};
constexpr Layout kJet4 = {16, 43, 45, 51, 55, 63, 12, 25, 5, 7, 15, 21, 23};
constexpr size_t kJet3CodePage = 11;
constexpr size_t kPrecision = 11, kScale = 12;  // of a Decimal column, in both formats
constexpr size_t kPageHeader = 8;  // page type, a byte, two bytes, the next page
constexpr uint8_t kFixedFlag = 0x01;

// The definition's pages joined: the first page whole, then each following
// page without its header.
std::vector<uint8_t> JoinPages(const PageFile& file, uint32_t first, const std::string& what) {
  std::vector<uint8_t> bytes;
  std::set<uint32_t> seen;
  for (uint32_t n = first; n != 0;) {
    if (!seen.insert(n).second) Damaged(what + ": its definition pages loop back to page " + std::to_string(n));
    const ByteView page = file.TypedPage(n, kTableDefinitionPage, what + " definition");
    const size_t skip = n == first ? 0 : kPageHeader;
    bytes.insert(bytes.end(), page.data() + skip, page.data() + page.size());
    n = page.U32(4, "next definition page");
  }
  return bytes;
}

}  // namespace

TableDefinition ReadTableDefinition(const PageFile& file, uint32_t page, const CodePageDecoder& decode,
                                    const std::string& what) {
  const std::vector<uint8_t> joined = JoinPages(file, page, what);
  const ByteView tdef(joined.data(), joined.size());
  const bool jet3 = file.format() == Format::kJet3;
  const Layout& at = jet3 ? kJet3 : kJet4;

  TableDefinition def;
  def.page = page;
  def.recorded_rows = tdef.U32(at.row_count, "row count");
  def.var_column_count = tdef.U16(at.var_column_count, "variable column count");
  const uint16_t column_count = tdef.U16(at.column_count, "column count");
  const uint32_t real_index_count = tdef.U32(at.real_index_count, "index count");
  def.used_pages = RowPointer::From(tdef.U32(at.used_pages, "page map pointer"));

  const uint64_t columns_at = at.real_indexes + uint64_t{real_index_count} * at.real_index_size;
  const uint64_t names_at = columns_at + uint64_t{column_count} * at.column_size;
  if (names_at > tdef.size())
    Damaged(what + ": its definition claims " + std::to_string(column_count) + " columns and " +
            std::to_string(real_index_count) + " indexes, more than its pages hold");

  std::vector<Column> columns(column_count);
  for (size_t i = 0; i < column_count; ++i) {
    const ByteView entry = tdef.Sub(static_cast<size_t>(columns_at) + i * at.column_size, at.column_size, "column");
    Column& column = columns[i];
    column.type = static_cast<ColumnType>(entry.U8(0, "column type"));
    column.number = entry.U16(at.col_number, "column number");
    column.var_index = entry.U16(at.col_var_index, "column offset index");
    column.fixed = (entry.U8(at.col_flags, "column flags") & kFixedFlag) != 0;
    column.fixed_offset = entry.U16(at.col_fixed_offset, "column fixed offset");
    column.length = entry.U16(at.col_length, "column length");
    if (jet3) column.code_page = entry.U16(kJet3CodePage, "column code page");
    if (column.type == ColumnType::kNumeric) {
      column.precision = entry.U8(kPrecision, "column precision");
      column.scale = entry.U8(kScale, "column scale");
    }
  }

  size_t name_at = static_cast<size_t>(names_at);
  for (Column& column : columns) {
    if (jet3) {
      const uint8_t length = tdef.U8(name_at, "column name length");
      const ByteView name = tdef.Sub(name_at + 1, length, "column name");
      if (!decode(file.header().code_page, name.data(), name.size(), &column.name))
        throw Error(ErrorKind::kCodePage, what + ": a column name is in code page " +
                                              std::to_string(file.header().code_page) + ", which cannot be decoded");
      name_at += 1 + length;
    } else {
      const uint16_t length = tdef.U16(name_at, "column name length");
      column.name = DecodeJet4Text(tdef.Sub(name_at + 2, length, "column name"));
      name_at += 2 + length;
    }
  }
  std::stable_sort(columns.begin(), columns.end(),
                   [](const Column& a, const Column& b) { return a.number < b.number; });
  def.columns = std::move(columns);
  return def;
}

}  // namespace jet
