// The slot files of an older version of the program (table `data`, fields
// `id` and `cont`), read by the reader and by jet_dump.
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "jet/database.h"
#include "jet/utf8.h"
#include "tests/jet/jet_test_support.h"
#include "tests/jet/slot_sample.h"
#include "tools/csv_field.h"

namespace {

TEST(JetSlotFiles, TableDataGivesEveryRowInFileOrderWithItsExactText) {
  REQUIRE_JET_SAMPLES(dir);
  const std::vector<jet_sample::Row> expected = jet_sample::Rows();
  ASSERT_EQ(expected[6].text.size() + expected[7].text.size(), 3150u + 118893u);
  for (const char* name : {"slots-v2000-compressed.mdb", "slots-v2000-plain.mdb"}) {
    SCOPED_TRACE(name);
    const jet::Database db(jet_test::ReadBytes(dir / "slots" / name));
    EXPECT_EQ(db.format(), jet::Format::kJet4);
    EXPECT_EQ(db.TableNames(), std::vector<std::u16string>{u"data"});
    const jet::Table table = db.OpenTable(u"Data");
    ASSERT_EQ(table.columns().size(), 2u);
    EXPECT_EQ(std::make_tuple(table.columns()[0].type, table.columns()[1].type, table.ColumnIndex(u"ID"),
                              table.ColumnIndex(u"Cont")),
              std::make_tuple(jet::ColumnType::kInt16, jet::ColumnType::kMemo, 0, 1));
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
  EXPECT_EQ(jet_test::Thrown([&] { other.OpenTable(u"data"); }),
            std::make_pair(static_cast<int>(jet::ErrorKind::kNoSuchTable), std::string("no table data")));
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
  const jet_sample::SlotFile slots(jet_test::ReadBytes(dir / "slots" / "slots-v2000-plain.mdb"));
  const size_t id = slots.definition + 63;  // the first column's entry; the table has no index
  ASSERT_EQ(slots.bytes.at(id), 0x03);
  const jet::Database db(jet_sample::Put(jet_sample::Put(slots.bytes, id, 0x10, 1), id + 11, 0x041C, 2));
  const jet::Column& column = db.OpenTable(u"data").columns().at(0);
  EXPECT_EQ(std::make_tuple(column.type, int{column.precision}, int{column.scale}),
            std::make_tuple(jet::ColumnType::kNumeric, 28, 4));
}

TEST(JetDump, ListsTablesAndPrintsATableAsCsvWithClearFailures) {
  REQUIRE_JET_SAMPLES(dir);
  const char* dump = std::getenv("JET_DUMP");
  ASSERT_NE(dump, nullptr) << "JET_DUMP (the path of jet_dump, set by ctest) is not set";
  const std::string run = std::string(dump) + " '" + (dir / "slots" / "slots-v2000-compressed.mdb").string() + "'";
  EXPECT_EQ(jet_test::Run(run), std::make_pair(std::string("data\n"), 0));
  std::string csv = "id,cont\r\n";
  for (const jet_sample::Row& row : jet_sample::Rows())
    csv += std::to_string(row.id) + "," + CsvField(jet::ToUtf8(row.text)) + "\r\n";
  const auto [out, status] = jet_test::Run(run + " DATA");
  const auto at = static_cast<size_t>(std::mismatch(out.begin(), out.end(), csv.begin(), csv.end()).first - out.begin());
  // The first difference, if any.
  EXPECT_EQ(std::make_pair(out.substr(at, 60), status), std::make_pair(csv.substr(at, 60), 0)) << "from byte " << at;
  // Failures are told on standard error: status 1, and 2 for a wrong command line.
  const std::tuple<std::string, std::string, int> failures[] = {
      {run + " nothing", "no table nothing", 1}, {std::string(dump) + " " + dump, "not a Jet database", 1}, {dump, "usage:", 2}};
  for (const auto& [command, words, want] : failures) {
    const auto [told, got] = jet_test::Run(command + " 2>&1");
    EXPECT_EQ(std::make_pair(told.find(words) != std::string::npos, got), std::make_pair(true, want)) << told;
  }
}

}  // namespace
