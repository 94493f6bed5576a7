// The slot files of an older version of the program (table `data`, fields
// `id` and `cont`), read by the reader and by jet_dump.
#include <cstdlib>
#include <tuple>

#include "jet/database.h"
#include "jet/utf8.h"
#include "tests/jet/jet_test_support.h"
#include "tests/jet/slot_file_damage.h"

namespace {

struct SlotRow {
  int id;
  std::u16string text;
  bool null = false;
};

std::vector<SlotRow> ExpectedRows() {
  std::u16string six, seven;
  for (int i = 0; i < 150; ++i) six += u"中文 mixed ASCII text; ";
  for (int n = 1; n <= 4000; ++n) {
    const std::string digits = std::to_string(n);
    seven += u"第" + std::u16string(digits.begin(), digits.end()) + u"行：剪贴板 clipboard line 🙂\r\n";
  }
  EXPECT_EQ(six.size() + seven.size(), 3150u + 118893u);
  return {{1, u"第一槽 slot one"}, {2, u"first row for 2"}, {3, u"line one\r\nline two\r\n\ttabbed"},
          {2, u"second row for 2"}, {4, u""}, {5, u"", true}, {6, six}, {7, seven}, {10, u"row ten is never read"},
          {8, u"Ελληνικά русский עברית 日本語 한국어"}, {9, u"emoji 🙂👍 and plain ASCII"}};
}

TEST(JetSlotFiles, TableDataGivesEveryRowInFileOrderWithItsExactText) {
  REQUIRE_JET_SAMPLES(dir);
  const std::vector<SlotRow> expected = ExpectedRows();
  for (const char* name : {"slots-v2000-compressed.mdb", "slots-v2000-plain.mdb"}) {
    SCOPED_TRACE(name);
    const jet::Database db(jet_test::ReadBytes(dir / "slots" / name));
    EXPECT_EQ(db.format(), jet::Format::kJet4);
    EXPECT_EQ(db.TableNames(), std::vector<std::u16string>{u"data"});
    const jet::Table table = db.OpenTable(u"Data");
    ASSERT_EQ(table.columns().size(), 2u);
    EXPECT_EQ(table.columns()[0].type, jet::ColumnType::kInt16);
    EXPECT_EQ(table.columns()[1].type, jet::ColumnType::kMemo);
    ASSERT_EQ(table.ColumnIndex(u"ID") * 10 + table.ColumnIndex(u"Cont"), 1);
    const std::vector<jet::Row> rows = table.ReadAllRows();
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i][0].integer, expected[i].id) << i;
      EXPECT_EQ(rows[i][1].kind, expected[i].null ? jet::ValueKind::kNull : jet::ValueKind::kText) << i;
      EXPECT_TRUE(rows[i][1].text == expected[i].text) << i << ": " << jet::ToUtf8(rows[i][1].text.substr(0, 99));
    }
  }
}

TEST(JetSlotFiles, EmptyTableMissingTableAndTheCatalogAsATable) {
  REQUIRE_JET_SAMPLES(dir);
  const jet::Database empty(jet_test::ReadBytes(dir / "slots" / "slots-v2000-empty.mdb"));
  EXPECT_TRUE(empty.OpenTable(u"data").ReadAllRows().empty());
  const jet::Database other(jet_test::ReadBytes(dir / "slots" / "slots-v2000-notable.mdb"));
  EXPECT_EQ(other.TableNames(), std::vector<std::u16string>{u"other"});
  EXPECT_FALSE(other.HasTable(u"data"));
  try {
    other.OpenTable(u"data");
    ADD_FAILURE() << "a missing table was opened";
  } catch (const jet::Error& error) {
    EXPECT_EQ(error.kind(), jet::ErrorKind::kNoSuchTable);
    EXPECT_STREQ(error.what(), "no table data");
  }
  // A system table is not listed but opens by name. The catalog's definition
  // lists its own columns by name; they come in the order of their numbers.
  const jet::Table catalog = other.OpenTable(u"msysobjects");
  std::u16string columns;
  for (const jet::Column& column : catalog.columns()) columns += column.name + u",";
  EXPECT_EQ(columns, u"Id,ParentId,Name,Type,DateCreate,DateUpdate,Owner,Flags,Database,Connect,ForeignName,"
                     u"RmtInfoShort,RmtInfoLong,Lv,LvProp,LvModule,LvExtra,");
}

// `id` retyped Decimal (28, 4) in the table's definition.
TEST(JetSlotFiles, DecimalColumnsTakePrecisionAndScaleFromTheDefinition) {
  REQUIRE_JET_SAMPLES(dir);
  const jet_damage::SlotFile slots(jet_test::ReadBytes(dir / "slots" / "slots-v2000-plain.mdb"));
  const size_t id = slots.definition + 63;  // the first column's entry; the table has no index
  ASSERT_EQ(slots.bytes.at(id), 0x03);
  const jet::Database db(jet_damage::Put(jet_damage::Put(slots.bytes, id, 0x10, 1), id + 11, 0x041C, 2));
  const jet::Column& column = db.OpenTable(u"data").columns().at(0);
  EXPECT_EQ(std::make_tuple(column.type, int{column.precision}, int{column.scale}),
            std::make_tuple(jet::ColumnType::kNumeric, 28, 4));
}

TEST(JetDump, ListsTablesAndPrintsATableAsCsvWithClearFailures) {
  REQUIRE_JET_SAMPLES(dir);
  const char* dump = std::getenv("JET_DUMP");
  if (!dump) GTEST_SKIP() << "JET_DUMP (the path of jet_dump) is not set";
  const std::string run = std::string(dump) + " '" + (dir / "slots" / "slots-v2000-compressed.mdb").string() + "'";
  int status = -1;
  EXPECT_EQ(jet_test::Run(run, &status), "data\n");
  EXPECT_EQ(status, 0);
  const std::string csv = jet_test::Run(run + " DATA", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(csv.substr(0, 9), "id,cont\r\n");
  EXPECT_NE(csv.find("\r\n3,\"line one\r\nline two\r\n\ttabbed\"\r\n2,"), std::string::npos);
  const jet_test::CsvRows rows = jet_test::ParseCsv(csv);
  const std::vector<SlotRow> expected = ExpectedRows();
  ASSERT_EQ(rows.size(), expected.size() + 1);
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(rows[i + 1].at(0).text + "," + rows[i + 1].at(1).text,
              std::to_string(expected[i].id) + "," + jet::ToUtf8(expected[i].text));
  EXPECT_NE(jet_test::Run(run + " nothing 2>&1", &status).find("no table nothing"), std::string::npos);
  EXPECT_EQ(status, 1);
  EXPECT_NE(jet_test::Run(std::string(dump) + " " + dump + " 2>&1", &status).find("not a Jet database"), std::string::npos);
  EXPECT_EQ(status, 1);
  jet_test::Run(std::string(dump) + " 2>/dev/null", &status);
  EXPECT_EQ(status, 2);
}

}  // namespace
