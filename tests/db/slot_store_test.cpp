// The nine slots in data.mdb: new installations, the row rules, texts that
// come back exactly, and files that are refused untouched.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/slot_store.h"
#include "forms/runtime_error.h"
#include "tests/app/harness.h"

namespace {

using namespace std::string_literals;
using app::LoadSlots;
using app::SaveSlots;

// Runs SQL on the file; the rows of its last statement, columns joined by '|'.
std::vector<std::string> Sql(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open16(file.c_str(), &db);
  std::vector<std::string> rows;
  auto collect = [](void* out, int count, char** values, char**) {
    std::string row;
    for (int i = 0; i < count; ++i) row += (i ? "|" : "") + std::string(values[i] ? values[i] : "<null>");
    static_cast<std::vector<std::string>*>(out)->push_back(row);
    return 0;
  };
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), collect, &rows, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
  return rows;
}

app::SlotTexts Numbered(const std::wstring& prefix) {
  app::SlotTexts slots;
  for (int n = 1; n <= 9; ++n) slots[n - 1] = prefix + std::to_wstring(n);
  return slots;
}

TEST(SlotStore, PathAndQuery) {
  EXPECT_EQ(app::SlotDatabasePath(L"C:\\Tools"), L"C:\\Tools\\data.mdb");
  EXPECT_EQ(app::SlotDatabasePath(L"C:\\"), L"C:\\\\data.mdb");
  EXPECT_EQ(app::SlotQuery(3), "select * from data where id=3");
}

TEST(SlotStore, NewInstallationGetsTheTableAndNineRowsInOrder) {
  for (bool zeroBytes : {false, true}) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    if (zeroBytes) PutFile(file, "");
    EXPECT_EQ(LoadSlots(dir.path.wstring()), app::SlotTexts{});
    EXPECT_EQ(Sql(file, "select name from pragma_table_info('data')"), (std::vector<std::string>{"id", "cont"}));
    app::SlotTexts slots = Numbered(L"s");
    slots[6] = L"";
    SaveSlots(dir.path.wstring(), slots);
    EXPECT_EQ(Sql(file, "select group_concat(id || typeof(cont) || cont, ',') from data"),
              std::vector<std::string>{"1texts1,2texts2,3texts3,4texts4,5texts5,6texts6,7text,8texts8,9texts9"});
    SaveSlots(dir.path.wstring() + L"\\", Numbered(L"again "));  // a doubled backslash finds the same file
    EXPECT_EQ(Sql(file, "select count(*) from data"), std::vector<std::string>{"9"});
    EXPECT_EQ(LoadSlots(dir.path.wstring()), Numbered(L"again "));
  }
}

TEST(SlotStore, FirstRowPerIdIsReadAndWrittenOthersAreLeftAlone) {
  TempDir dir;
  const fs::path file = dir.path / L"data.mdb";
  Sql(file, "create table data (note, cont, id);"
            "insert into data values ('k', 'first two', 2), ('k', 'ten', 10), ('k', 'second two', 2),"
            "('k', null, 5), ('k', 42, 3.0)");
  app::SlotTexts loaded;
  loaded[1] = L"first two", loaded[2] = L"42";
  EXPECT_EQ(LoadSlots(dir.path.wstring()), loaded);
  SaveSlots(dir.path.wstring(), Numbered(L"n"));
  EXPECT_EQ(Sql(file, "select rowid, note, typeof(id), id, typeof(cont), cont from data"),
            (std::vector<std::string>{"1|k|integer|2|text|n2", "2|k|integer|10|text|ten", "3|k|integer|2|text|second two",
                                      "4|k|integer|5|text|n5", "5|k|integer|3|text|n3", "6|<null>|integer|1|text|n1",
                                      "7|<null>|integer|4|text|n4", "8|<null>|integer|6|text|n6",
                                      "9|<null>|integer|7|text|n7", "10|<null>|integer|8|text|n8",
                                      "11|<null>|integer|9|text|n9"}));
}

TEST(SlotStore, TextsComeBackExactly) {
  TempDir dir;
  const app::SlotTexts slots = {L"it's \"q\"", L"'); drop table data; --", L"one\r\ntwo\r\n\r\n", L"a\tb",
                                L"\U0001F600 \U00020BB7 朔禾", std::wstring(300000, L'x') + L"end", L"", L"  blanks  ",
                                L"nul\0inside"s};
  SaveSlots(dir.path.wstring(), slots);
  EXPECT_EQ(LoadSlots(dir.path.wstring()), slots);
  EXPECT_EQ(Sql(dir.path / L"data.mdb", "select cont from data where id=5"), std::vector<std::string>{u8"\U0001F600 \U00020BB7 朔禾"});
}

TEST(SlotStore, ForeignFilesAreRefusedAndLeftUntouched) {
  const std::pair<std::string, long> cases[] = {
      {"\x00\x01\x00\x00Standard Jet DB\x00"s + std::string(2048, 'Z'), 26}, {"SQL", 26},
      {"create table other (id, cont)", 1}, {"create table data (id, text)", 1}, {"create table data (nr, cont)", 1}};
  for (const auto& [content, number] : cases) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    if (number == 1) Sql(file, content); else PutFile(file, content);
    const std::string before = FileBytes(file);
    for (bool save : {false, true}) {
      try {
        save ? SaveSlots(dir.path.wstring(), Numbered(L"lost ")) : (void)LoadSlots(dir.path.wstring());
        ADD_FAILURE() << content;
      } catch (const forms::RuntimeError& error) {
        EXPECT_EQ(error.number(), number) << content;
        EXPECT_NE(error.description().find(file.wstring()), std::wstring::npos);
      }
    }
    EXPECT_TRUE(FileBytes(file) == before && !fs::exists(file.wstring() + L"-journal")) << content;
  }
}

}  // namespace
