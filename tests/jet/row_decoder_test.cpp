// Rows built here byte by byte, so that the layouts the sample files do not
// show are tried too: Jet 3 rows past 255 bytes (the jump table), negative
// numbers, columns added after a row was written, Booleans in the null mask.
#include <gtest/gtest.h>

#include "jet/row_decoder.h"

namespace {

using Bytes = std::vector<uint8_t>;

jet::Column Col(uint16_t number, jet::ColumnType type, bool fixed, uint16_t place, uint16_t length = 0) {
  jet::Column column;
  column.number = number;
  column.type = type;
  column.fixed = fixed;
  (fixed ? column.fixed_offset : column.var_index) = place;
  column.length = length;
  return column;
}

// A row: its column count, fixed part, variable parts, then the end of their
// data, their offsets last first, the jump table (Jet 3), their count and the
// null mask. `after` is what follows the row in its page.
struct RowBuilder {
  bool jet3;
  Bytes bytes;

  void Put(unsigned value) {
    bytes.push_back(static_cast<uint8_t>(value));
    if (!jet3) bytes.push_back(static_cast<uint8_t>(value >> 8));
  }
  Bytes Build(unsigned count, const Bytes& fixed, const std::vector<Bytes>& vars, const Bytes& jumps, const Bytes& mask) {
    Put(count);
    bytes.insert(bytes.end(), fixed.begin(), fixed.end());
    std::vector<unsigned> offsets;
    for (const Bytes& part : vars) {
      offsets.push_back(static_cast<unsigned>(bytes.size()));
      bytes.insert(bytes.end(), part.begin(), part.end());
    }
    Put(static_cast<unsigned>(bytes.size()));
    for (size_t i = vars.size(); i-- > 0;) Put(offsets[i]);
    bytes.insert(bytes.end(), jumps.begin(), jumps.end());
    Put(static_cast<unsigned>(vars.size()));
    bytes.insert(bytes.end(), mask.begin(), mask.end());
    return bytes;
  }
};

jet::Row Decode(jet::Format format, const jet::TableDefinition& def, const Bytes& buffer, size_t row_size) {
  jet::FileHeader header;
  header.format = format;
  header.page_size = format == jet::Format::kJet3 ? 2048 : 4096;
  header.code_page = 1252;
  const jet::PageFile file(jet::ByteView(), header);
  const jet::CodePageDecoder decode = jet::DecodeWesternCodePage;
  const jet::RowDecoder decoder(file, def, decode, "test table");
  jet::ReadBudget budget(1 << 20);
  return decoder.Decode(jet::ByteView(buffer.data(), row_size), &budget);
}

TEST(JetRows, Jet3RowLongerThan255BytesFindsItsColumnsThroughTheJumpTable) {
  using T = jet::ColumnType;
  jet::TableDefinition def;
  def.var_column_count = 3;
  def.columns = {Col(0, T::kInt16, true, 0), Col(1, T::kText, false, 0), Col(2, T::kText, false, 1),
                 Col(3, T::kText, false, 2), Col(4, T::kText, false, 3)};
  // Offsets 3, 203 and 403 and the end 603: the third part and the end lie
  // past 256 and 512, so the jump table names entries 2 and 3.
  const Bytes row = RowBuilder{true, {}}.Build(4, {0xFE, 0xFF}, {Bytes(200, 'a'), Bytes(200, 0xE9), Bytes(200, 'c')},
                                               {3, 2}, {0x0F});
  ASSERT_EQ(row.size() / 256, 2u);
  const jet::Row values = Decode(jet::Format::kJet3, def, row, row.size());
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0].integer, -2);
  EXPECT_EQ(values[1].text, std::u16string(200, u'a'));
  EXPECT_EQ(values[2].text, std::u16string(200, u'é'));
  EXPECT_EQ(values[3].text, std::u16string(200, u'c'));
  EXPECT_TRUE(values[4].is_null());  // added after the row was written
}

TEST(JetRows, Jet4RowWithEveryKindOfFixedAndVariableColumn) {
  using T = jet::ColumnType;
  using K = jet::ValueKind;
  jet::TableDefinition def;
  def.var_column_count = 3;
  def.columns = {Col(0, T::kInt16, true, 0),  Col(1, T::kInt32, true, 2),  Col(2, T::kByte, true, 6),
                 Col(3, T::kText, false, 0),  Col(4, T::kMemo, false, 1),  Col(5, T::kBoolean, true, 0),
                 Col(6, T::kBoolean, true, 0), Col(7, T::kText, false, 2), Col(8, T::kInt32, true, 7)};
  const Bytes memo = {2, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 'x', 0};
  Bytes buffer = RowBuilder{false, {}}.Build(8, {0x85, 0xFF, 0x00, 0x00, 0x00, 0x80, 0xC8, 1, 2, 3, 4},
                                             {{0xFF, 0xFE, 'h', 'i'}, memo}, {}, {0b10111111});
  const size_t row_size = buffer.size();
  buffer.push_back(0xFF);  // the page goes on after the row
  const jet::Row values = Decode(jet::Format::kJet4, def, buffer, row_size);
  ASSERT_EQ(values.size(), 9u);
  EXPECT_EQ(values[0].integer, -123);
  EXPECT_EQ(values[1].integer, -2147483648LL);
  EXPECT_EQ(values[2].integer, 200);
  EXPECT_EQ(values[3].text, u"hi");
  EXPECT_EQ(values[4].text, u"x");
  EXPECT_EQ(values[5].kind, K::kBoolean);
  EXPECT_TRUE(values[5].boolean);
  EXPECT_EQ(values[6].kind, K::kBoolean);
  EXPECT_FALSE(values[6].boolean);
  EXPECT_TRUE(values[7].is_null());  // the row stores two variable columns only
  EXPECT_TRUE(values[8].is_null());  // added after the row was written
}

TEST(JetRows, OffsetsOutsideTheRowAreDamage) {
  jet::TableDefinition def;
  def.var_column_count = 1;
  def.columns = {Col(0, jet::ColumnType::kText, false, 0)};
  Bytes row = RowBuilder{false, {}}.Build(1, {}, {{'a', 0}}, {}, {1});
  row[4] = 0x40;  // the end of the variable data, now past the offset table
  EXPECT_THROW(Decode(jet::Format::kJet4, def, row, row.size()), jet::Error);
  EXPECT_THROW(Decode(jet::Format::kJet4, def, row, 3), jet::Error);
  def.columns = {Col(0, jet::ColumnType::kInt32, true, 0)};
  def.var_column_count = 0;
  const Bytes short_fixed = {1, 0, 9, 9, 1};  // two bytes where four are needed
  try {
    Decode(jet::Format::kJet4, def, short_fixed, short_fixed.size());
    ADD_FAILURE() << "no error";
  } catch (const jet::Error& error) {
    EXPECT_EQ(error.kind(), jet::ErrorKind::kDamaged);
    EXPECT_STREQ(error.what(), "test table: column 0 lies outside its row's fixed part");
  }
}

}  // namespace
