// The files written by Microsoft Access, against mdbtools as a second
// opinion: the same user tables, and in each the same columns and the same
// rows in the same order with the same values, Null where it has Null.
#include "jet/database.h"
#include "jet/utf8.h"
#include "tests/jet/jet_test_support.h"

namespace {

TEST(JetAccessFiles, TablesAndEveryValueMatchMdbExport) {
  REQUIRE_JET_SAMPLES(dir);
  ASSERT_EQ(jet_test::Run("command -v mdb-export >/dev/null").second, 0)
      << "mdb-export not installed (Debian package mdbtools, installed by the set-up)";
  size_t files = 0, tables = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "access")) {
    const std::string name = entry.path().filename().string(), quoted = "'" + entry.path().string() + "'";
    SCOPED_TRACE(name);
    ++files;
    const jet::Database db(jet_test::ReadBytes(entry.path()));
    std::string names;
    for (const std::u16string& table : db.TableNames()) names += jet::ToUtf8(table) + "\n";
    EXPECT_EQ(names, jet_test::Run("mdb-tables -1 " + quoted).first);
    // Rows ended by 0x1E, cells parted by 0x1F, texts unquoted, Null as
    // <null>, dates as jet::ToText writes them, OLE objects (which mdb-export
    // reads otherwise) left out. mdb-export lists the rows an update moved to
    // other pages after the others; Jet keeps them in their first place, as
    // the Jet 3 twin shows.
    const std::string command =
        "mdb-export -b strip -Q -0 '<null>' -d '\x1f' -R '\x1e' -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' " +
        (name == "overflowTestV2000.mdb" ? "'" + (dir / "access" / "overflowTestV1997.mdb").string() + "'" : quoted);
    for (const std::u16string& table_name : db.TableNames()) {
      const jet::Table table = db.OpenTable(table_name);
      std::string rows;
      for (const jet::Column& column : table.columns()) rows += (rows.empty() ? "" : "\x1f") + jet::ToUtf8(column.name);
      table.ForEachRow([&](const jet::Row& row) {
        rows += '\x1e';
        for (size_t i = 0; i < row.size(); ++i) {
          const bool ole = row[i].type == jet::ColumnType::kOle;
          rows += (i ? "\x1f" : "") + (row[i].is_null() ? "<null>" : ole ? "" : jet::ToUtf8(jet::ToText(row[i])));
        }
      });
      EXPECT_EQ(rows + '\x1e', jet_test::Run(command + " " + jet::ToUtf8(table_name)).first) << jet::ToUtf8(table_name);
      ++tables;
    }
  }
  EXPECT_EQ(std::make_pair(files, tables), std::make_pair(size_t{11}, size_t{16}));
}

}  // namespace
