// Rows built here byte by byte, so that layouts the sample files do not show
// are tried too: Jet 3 rows past 255 bytes (the jump table), negative numbers,
// columns added after a row was written, Booleans in the null mask, Decimals.
#include <array>
#include <tuple>

#include "jet/row_decoder.h"
#include "tests/jet/jet_test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
using T = jet::ColumnType;

jet::Column Col(uint16_t number, T type, bool fixed, uint16_t place) {
  jet::Column column;
  column.number = number, column.type = type, column.fixed = fixed;
  (fixed ? column.fixed_offset : column.var_index) = place;
  return column;
}

// Column count, fixed part, variable parts, the end of their data, their
// offsets last first, the jump table (Jet 3), their count, the null mask.
Bytes BuildRow(bool jet3, unsigned count, const Bytes& fixed, const std::vector<Bytes>& vars, const Bytes& jumps,
               uint8_t mask) {
  Bytes row;
  const auto put = [&](size_t value) {
    row.push_back(static_cast<uint8_t>(value));
    if (!jet3) row.push_back(static_cast<uint8_t>(value >> 8));
  };
  put(count);
  row.insert(row.end(), fixed.begin(), fixed.end());
  std::vector<size_t> offsets;
  for (const Bytes& part : vars) {
    offsets.push_back(row.size());
    row.insert(row.end(), part.begin(), part.end());
  }
  put(row.size());
  for (size_t i = vars.size(); i-- > 0;) put(offsets[i]);
  row.insert(row.end(), jumps.begin(), jumps.end());
  put(vars.size());
  row.push_back(mask);
  return row;
}

jet::Row Decode(bool jet3, const jet::TableDefinition& def, const Bytes& buffer, size_t row_size) {
  jet::FileHeader header;
  header.format = jet3 ? jet::Format::kJet3 : jet::Format::kJet4;
  jet::ReadBudget budget(1 << 20);
  return jet::RowDecoder(jet::PageFile(jet::ByteView(), header), def, jet::DecodeWesternCodePage, "test table")
      .Decode(jet::ByteView(buffer.data(), row_size), &budget);
}

TEST(JetRows, Jet3RowLongerThan255BytesFindsItsColumnsThroughTheJumpTable) {
  jet::TableDefinition def;
  def.var_column_count = 3;
  def.columns = {Col(0, T::kInt16, true, 0), Col(1, T::kText, false, 0), Col(2, T::kText, false, 1),
                 Col(3, T::kText, false, 2), Col(4, T::kText, false, 3)};
  // Parts at 3, 203 and 403, their end at 603: the jump table names entries 2 and 3.
  const Bytes row = BuildRow(true, 4, {0xFE, 0xFF}, {Bytes(200, 'a'), Bytes(200, 0xE9), Bytes(200, 'c')}, {3, 2}, 0x0F);
  ASSERT_EQ(row.size() / 256, 2u);
  const jet::Row values = Decode(true, def, row, row.size());
  // Column 4 was added after the row was written.
  EXPECT_EQ(std::make_tuple(values[0].integer, values[1].text + values[2].text + values[3].text, values[4].is_null()),
            std::make_tuple(-2, std::u16string(200, u'a') + std::u16string(200, u'é') + std::u16string(200, u'c'), true));
}

TEST(JetRows, Jet4RowWithEveryKindOfColumnAndOffsetsOutsideTheRow) {
  jet::TableDefinition def;
  def.var_column_count = 3;
  def.columns = {Col(0, T::kInt16, true, 0),   Col(1, T::kInt32, true, 2),   Col(2, T::kByte, true, 6),
                 Col(3, T::kText, false, 0),   Col(4, T::kMemo, false, 1),   Col(5, T::kBoolean, true, 0),
                 Col(6, T::kBoolean, true, 0), Col(7, T::kText, false, 2), Col(8, T::kInt32, true, 7)};
  const Bytes memo = {2, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 'x', 0};  // inline
  Bytes buffer = BuildRow(false, 8, {0x85, 0xFF, 0, 0, 0, 0x80, 0xC8, 1, 2, 3, 4}, {{0xFF, 0xFE, 'h', 'i'}, memo}, {},
                          0b10111111);
  const size_t size = buffer.size();
  buffer.push_back(0xFF);  // the page goes on after the row
  std::u16string values;  // Null as '.'
  for (const jet::Value& value : Decode(false, def, buffer, size))
    values += (value.is_null() ? u"." : jet::ToText(value)) + u" ";
  // Column 7: the row stores two variable columns only; column 8 was added after it was written.
  EXPECT_EQ(values, u"-123 -2147483648 200 hi x 1 0 . . ");

  Bytes past = buffer;
  past[size - 9] = 0x40;  // the end of the variable data now lies past the offset table
  EXPECT_THROW(Decode(false, def, past, size), jet::Error);
  const std::string cut = "test table: a row's offset table of 65413 entries does not fit in its 5 bytes";
  EXPECT_EQ(jet_test::Thrown([&] { Decode(false, def, buffer, 5); }),
            std::make_pair(static_cast<int>(jet::ErrorKind::kDamaged), cut));
}

TEST(JetRows, DecimalsWithTheirColumnsScale) {
  // The sign byte, the magnitude (most significant word first), the column's scale.
  const std::tuple<uint8_t, std::array<uint32_t, 4>, uint8_t, const char16_t*> cases[] = {
      {0x80, {0, 0, 0, 1234}, 2, u"-12.34"},
      {0x00, {0, 0, 0, 5}, 3, u"0.005"},
      {0x00, {0, 0, 0, 5}, 12, u"0.000000000005"},  // more places than the first nine digits
      {0x00, {0, 0, 0, 100}, 2, u"1.00"},
      {0x80, {0, 0, 0, 0}, 2, u"0.00"},
      {0x00, {0, 0x03FD35EB, 0x6D797A91, 0xBE38F34E}, 10, u"123456789012345678.9012345678"},
      {0x80, {1, 0, 0, 0}, 0, u"-79228162514264337593543950336"},
      {0x00, {~0u, ~0u, ~0u, ~0u}, 38, u"3.40282366920938463463374607431768211455"},
  };
  jet::TableDefinition def;
  def.columns = {Col(0, T::kNumeric, true, 0)};
  for (const auto& [sign, words, scale, text] : cases) {
    def.columns[0].scale = scale;
    Bytes fixed = {sign};
    for (uint32_t word : words)
      for (int i = 0; i < 4; ++i) fixed.push_back(static_cast<uint8_t>(word >> 8 * i));
    const Bytes row = BuildRow(false, 1, fixed, {}, {}, 1);
    const jet::Value value = Decode(false, def, row, row.size()).at(0);
    EXPECT_EQ(std::make_tuple(value.kind, jet::ToText(value)), std::make_tuple(jet::ValueKind::kDecimal, text));
  }
}

}  // namespace
