// Text decoding, text forms of values, name comparison and CSV fields: the
// parts that need no sample file.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "jet/name_compare.h"
#include "jet/text_decode.h"
#include "jet/utf8.h"
#include "jet/value.h"
#include "tools/csv_field.h"

namespace {

std::u16string Jet4(std::initializer_list<uint8_t> bytes) {
  const std::vector<uint8_t> data(bytes);
  return jet::DecodeJet4Text(jet::ByteView(data.data(), data.size()));
}

std::u16string Western(uint16_t code_page, std::initializer_list<uint8_t> bytes, bool* ok) {
  const std::vector<uint8_t> data(bytes);
  std::u16string text = u">";
  *ok = jet::DecodeWesternCodePage(code_page, data.data(), data.size(), &text);
  return text;
}

void ExpectDamaged(std::initializer_list<uint8_t> bytes) {
  try {
    Jet4(bytes);
    ADD_FAILURE() << "no error";
  } catch (const jet::Error& error) {
    EXPECT_EQ(error.kind(), jet::ErrorKind::kDamaged);
    EXPECT_NE(std::strstr(error.what(), "ends inside a character"), nullptr) << error.what();
  }
}

TEST(JetText, Jet4TextPlainAndCompressed) {
  EXPECT_EQ(Jet4({}), u"");
  EXPECT_EQ(Jet4({'a', 0, 0x2D, 0x4E}), u"a中");
  EXPECT_EQ(Jet4({0xFF, 0xFE}), u"");
  EXPECT_EQ(Jet4({0xFF, 0xFE, 'a', 'b'}), u"ab");
  // A zero byte switches to two bytes a character and back; the text may end in either.
  EXPECT_EQ(Jet4({0xFF, 0xFE, 'a', 0, 0x2D, 0x4E, 0x87, 0x65, 0, 'z', '!'}), u"a中文z!");
  EXPECT_EQ(Jet4({0xFF, 0xFE, 0, 0x3D, 0xD8, 0x42, 0xDE}), u"🙂");
  EXPECT_EQ(Jet4({0xFF, 0xFE, 0, 0, 'x'}), u"x");
  ExpectDamaged({'a', 0, 'b'});
  ExpectDamaged({0xFF, 0xFE, 'a', 0, 0x2D});
}

TEST(JetText, WesternCodePages) {
  bool ok = false;
  EXPECT_EQ(Western(1252, {'A', 0x80, 0x81, 0x9F, 0xE9, 0xFF}, &ok), u">A€\u0081Ÿéÿ");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Western(0, {0x99}, &ok), u">™");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Western(28591, {0x80, 0xE9}, &ok), u">\u0080é");
  EXPECT_TRUE(ok);
  Western(20127, {'A'}, &ok);
  EXPECT_TRUE(ok);
  Western(20127, {0xE9}, &ok);
  EXPECT_FALSE(ok);
  Western(936, {'A'}, &ok);
  EXPECT_FALSE(ok);
}

jet::Value Make(jet::ValueKind kind, jet::ColumnType type, int64_t integer = 0, double real = 0) {
  jet::Value value;
  value.kind = kind;
  value.type = type;
  value.integer = integer;
  value.real = real;
  return value;
}

std::string Text(const jet::Value& value) { return jet::ToUtf8(jet::ToText(value)); }

TEST(JetValues, TextForms) {
  using K = jet::ValueKind;
  using T = jet::ColumnType;
  EXPECT_EQ(Text(jet::Value{}), "");
  jet::Value yes = Make(K::kBoolean, T::kBoolean);
  yes.boolean = true;
  EXPECT_EQ(Text(yes), "1");
  EXPECT_EQ(Text(Make(K::kBoolean, T::kBoolean)), "0");
  EXPECT_EQ(Text(Make(K::kInteger, T::kInt32, -2147483648LL)), "-2147483648");
  EXPECT_EQ(Text(Make(K::kMoney, T::kMoney, -123456)), "-12.3456");
  EXPECT_EQ(Text(Make(K::kMoney, T::kMoney, 5)), "0.0005");
  EXPECT_EQ(Text(Make(K::kMoney, T::kMoney, std::numeric_limits<int64_t>::min())), "-922337203685477.5808");
  EXPECT_EQ(Text(Make(K::kReal, T::kFloat, 0, static_cast<float>(444.555))), "444.555");
  EXPECT_EQ(Text(Make(K::kReal, T::kDouble, 0, 0.1)), "0.1");
  EXPECT_EQ(Text(Make(K::kDateTime, T::kDateTime, 0, 0)), "1899-12-30 00:00:00");
  EXPECT_EQ(Text(Make(K::kDateTime, T::kDateTime, 0, 36526.5)), "2000-01-01 12:00:00");
  EXPECT_EQ(Text(Make(K::kDateTime, T::kDateTime, 0, 29851.0 + 1.0 / 3)), "1981-09-22 08:00:00");
  EXPECT_EQ(Text(Make(K::kDateTime, T::kDateTime, 0, -1.25)), "1899-12-29 06:00:00");
  EXPECT_EQ(Text(Make(K::kDateTime, T::kDateTime, 0, 1.999999999)), "1900-01-01 00:00:00");
  EXPECT_EQ(Text(Make(K::kDateTime, T::kDateTime, 0, 1e12)), "1e+12");  // beyond year 9999: the day number
  jet::Value guid = Make(K::kBinary, T::kGuid);
  for (uint8_t i = 0; i < 16; ++i) guid.bytes.push_back(i);
  EXPECT_EQ(Text(guid), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
  guid.type = T::kBinary;
  EXPECT_EQ(Text(guid), "000102030405060708090a0b0c0d0e0f");
}

TEST(JetNames, ComparedWithoutRegardToCase) {
  EXPECT_TRUE(jet::SameName(u"data", u"DATA"));
  EXPECT_TRUE(jet::SameName(u"Ärger Ŋ", u"äRGER ŋ"));
  EXPECT_TRUE(jet::SameName(u"ΣΟΦΊΑ", u"σοφία"));
  EXPECT_TRUE(jet::SameName(u"Привет Ё", u"пРИВЕТ ё"));
  EXPECT_TRUE(jet::SameName(u"ＡＢ", u"ａｂ"));
  EXPECT_FALSE(jet::SameName(u"data", u"date"));
  EXPECT_FALSE(jet::SameName(u"dat", u"data"));
  EXPECT_FALSE(jet::SameName(u"×", u"÷"));
  EXPECT_FALSE(jet::SameName(u"[", u"{"));
}

TEST(JetText, Utf8AndCsvFields) {
  EXPECT_EQ(jet::ToUtf8(u"aé中🙂"), "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x99\x82");
  EXPECT_EQ(jet::ToUtf8(std::u16string(1, u'\xD83D') + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(CsvField("plain text"), "plain text");
  EXPECT_EQ(CsvField(""), "");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("x\r"), "\"x\r\"");
  EXPECT_EQ(CsvField("x\ny"), "\"x\ny\"");
}

}  // namespace
