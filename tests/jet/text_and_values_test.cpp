// Text decoding, text forms of values, name comparison and CSV fields: the
// parts that need no sample file.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <utility>

#include "jet/name_compare.h"
#include "jet/text_decode.h"
#include "jet/utf8.h"
#include "jet/value.h"
#include "tools/csv_field.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::u16string Jet4(Bytes data) { return jet::DecodeJet4Text(jet::ByteView(data.data(), data.size())); }

std::u16string Western(uint16_t code_page, Bytes data) {
  std::u16string text = u">";
  return jet::DecodeWesternCodePage(code_page, data.data(), data.size(), &text) ? text : u"<none>";
}

TEST(JetText, Jet4PlainAndCompressedAndWesternCodePages) {
  // A zero byte switches to two bytes a character and back; the text may end in either.
  EXPECT_EQ(std::make_tuple(Jet4({'a', 0, 0x2D, 0x4E}), Jet4({0xFF, 0xFE}), Jet4({0xFF, 0xFE, 0, 0x3D, 0xD8, 0x42, 0xDE}),
                            Jet4({0xFF, 0xFE, 'a', 0, 0x2D, 0x4E, 0x87, 0x65, 0, 'z', '!'})),
            std::make_tuple(u"a中", u"", u"🙂", u"a中文z!"));
  for (const Bytes& cut : {Bytes{'a', 0, 'b'}, Bytes{0xFF, 0xFE, 'a', 0, 0x2D}}) EXPECT_THROW(Jet4(cut), jet::Error);

  EXPECT_EQ(std::make_tuple(Western(1252, {'A', 0x80, 0x81, 0x9F, 0xE9}), Western(0, {0x99}), Western(28591, {0x80, 0xE9}),
                            Western(20127, {'A'}), Western(20127, {0xE9}), Western(936, {'A'})),
            std::make_tuple(u">A€\u0081Ÿé", u">™", u">\u0080é", u">A", u"<none>", u"<none>"));
}

// Booleans, integers, ordinary dates and the like are compared with mdb-export
// in access_files_test.cpp; these are the edges.
TEST(JetValues, TextForms) {
  using K = jet::ValueKind;
  using T = jet::ColumnType;
  // For binary values the integer is how many bytes, 0, 1, 2 and so on.
  const std::tuple<K, T, int64_t, double, const char*> cases[] = {
      {K::kMoney, T::kMoney, -123456, 0, "-12.3456"},
      {K::kMoney, T::kMoney, 5, 0, "0.0005"},
      {K::kMoney, T::kMoney, std::numeric_limits<int64_t>::min(), 0, "-922337203685477.5808"},
      {K::kReal, T::kFloat, 0, static_cast<float>(444.555), "444.555"},
      {K::kReal, T::kDouble, 0, 0.1, "0.1"},
      {K::kDateTime, T::kDateTime, 0, 0, "1899-12-30 00:00:00"},
      {K::kDateTime, T::kDateTime, 0, -1.25, "1899-12-29 06:00:00"},  // the fraction is the time whatever the sign
      {K::kDateTime, T::kDateTime, 0, 1.999999999, "1900-01-01 00:00:00"},
      {K::kDateTime, T::kDateTime, 0, 1e12, "1e+12"},  // past year 9999: the day number
      {K::kBinary, T::kGuid, 16, 0, "{03020100-0504-0706-0809-0A0B0C0D0E0F}"},
      {K::kBinary, T::kBinary, 16, 0, "000102030405060708090a0b0c0d0e0f"},
  };
  for (const auto& [kind, type, integer, real, text] : cases) {
    jet::Value value;
    value.kind = kind, value.type = type, value.integer = integer, value.real = real;
    for (int64_t i = 0; kind == K::kBinary && i < integer; ++i) value.bytes.push_back(static_cast<uint8_t>(i));
    EXPECT_EQ(jet::ToUtf8(jet::ToText(value)), text);
  }
}

TEST(JetNames, ComparedWithoutRegardToCaseUtf8AndCsvFields) {
  for (const auto& [a, b] : {std::pair{u"data", u"DATA"}, {u"Ärger Ŋ ΣΟΦΊΑ Привет Ё ＡＢ", u"äRGER ŋ σοφία пРИВЕТ ё ａｂ"}})
    EXPECT_TRUE(jet::SameName(a, b)) << jet::ToUtf8(a);
  for (const auto& [a, b] : {std::pair{u"data", u"date"}, {u"dat", u"data"}, {u"×", u"÷"}, {u"[", u"{"}})
    EXPECT_FALSE(jet::SameName(a, b)) << jet::ToUtf8(a);

  EXPECT_EQ(jet::ToUtf8(u"aé中🙂"), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x99\x82");
  EXPECT_EQ(jet::ToUtf8(std::u16string(1, u'\xD83D') + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(std::make_tuple(CsvField("plain text"), CsvField("a,b"), CsvField("say \"hi\""),
                            CsvField("x\r") + CsvField("x\ny")),
            std::make_tuple("plain text", "\"a,b\"", "\"say \"\"hi\"\"\"", "\"x\r\"\"x\ny\""));
}

}  // namespace
