// The nine slots in data.mdb: new installations, the row rules, texts that
// come back exactly, and files that are refused untouched.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "app/slot_store.h"
#include "app/slot_write_check.h"
#include "forms/runtime_error.h"
#include "tests/app/harness.h"

namespace {

using namespace std::string_literals;

// Runs SQL on the file; each result row's columns joined by '|', the rows by ','.
std::string Sql(const fs::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string rows;
  sqlite3_open16(file.c_str(), &db);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), [](void* out, int count, char** values, char**) {
    for (int i = 0; i < count; ++i)
      *static_cast<std::string*>(out) += (i ? "|" : ",") + std::string(values[i] ? values[i] : "<null>");
    return 0;
  }, &rows, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
  return rows;
}

app::SlotTexts Numbered(const std::wstring& prefix) {
  app::SlotTexts slots;
  for (int n = 1; n <= 9; ++n) slots[n - 1] = prefix + std::to_wstring(n);
  return slots;
}

TEST(SlotStore, NewInstallationGetsTheTableNineRowsInOrderAndTextsComeBackExactly) {
  const app::SlotTexts texts = {L"it's \"q\"", L"'); drop table data; --", L"one\r\ntwo\r\n\r\n", L"\U0001F600 朔禾",
                                std::wstring(300000, L'x') + L"end", L"", L"  blanks  ", L"a\tb", L"nul\0inside"s};
  for (bool zeroBytes : {false, true}) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    if (zeroBytes) PutFile(file, "");
    EXPECT_EQ(app::LoadSlots(dir.path.wstring()), app::SlotTexts{});
    EXPECT_EQ(Sql(file, "select name from pragma_table_info('data')"), ",id,cont");
    EXPECT_EQ(Sql(file, "pragma page_size"), ",16384");  // a long text in a quarter of the pages
    app::SlotTexts slots = Numbered(L"s");
    slots[6] = L"";
    app::SaveSlots(dir.path.wstring(), slots);
    EXPECT_EQ(Sql(file, "select id, typeof(cont), cont from data"),
              ",1|text|s1,2|text|s2,3|text|s3,4|text|s4,5|text|s5,6|text|s6,7|text|,8|text|s8,9|text|s9");
    app::SaveSlots(dir.path.wstring() + L"\\", texts);  // the doubled backslash of a root folder finds the same file
    EXPECT_EQ(Sql(file, "select count(*) from data where id=4 and cont='\U0001F600 朔禾'"), ",1");
    EXPECT_EQ(app::LoadSlots(dir.path.wstring()), texts);
  }
}

TEST(SlotStore, FirstRowPerIdIsReadAndWrittenOthersAreLeftAlone) {
  TempDir dir;
  const fs::path file = dir.path / L"data.mdb";
  Sql(file, "create table data (note, cont, id); insert into data values ('k', 'first two', 2), ('k', 'ten', 10),"
            "('k', 'second two', 2), ('k', null, 5), ('k', 42, 3.0)");
  app::SlotTexts loaded;
  loaded[1] = L"first two", loaded[2] = L"42";
  EXPECT_EQ(app::LoadSlots(dir.path.wstring()), loaded);
  app::SaveSlots(dir.path.wstring(), Numbered(L"n"));
  EXPECT_EQ(Sql(file, "select note, typeof(id) || id, typeof(cont), cont from data order by rowid"),
            ",k|integer2|text|n2,k|integer10|text|ten,k|integer2|text|second two,k|integer5|text|n5,k|integer3|text|n3,"
            "<null>|integer1|text|n1,<null>|integer4|text|n4,<null>|integer6|text|n6,<null>|integer7|text|n7,"
            "<null>|integer8|text|n8,<null>|integer9|text|n9");
}

TEST(SlotStore, ForeignFilesAreRefusedAndLeftUntouched) {
  const std::pair<std::string, long> cases[] = {
      {"\x00\x01\x00\x00Standard Jet DB\x00"s + std::string(2048, 'Z'), 26}, {"SQL", 26},
      {"create table other (id, cont)", 1}, {"create table data (id, text)", 1}, {"create table data (nr, cont)", 1}};
  for (const auto& [content, number] : cases) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    number == 1 ? (void)Sql(file, content) : PutFile(file, content);
    const std::string before = FileBytes(file);
    for (bool save : {false, true}) {
      try {
        save ? app::SaveSlots(dir.path.wstring(), Numbered(L"lost ")) : (void)app::LoadSlots(dir.path.wstring());
        ADD_FAILURE() << content;
      } catch (const forms::RuntimeError& error) {
        EXPECT_EQ(std::make_tuple(error.number(), error.description().find(file.wstring()) != std::wstring::npos),
                  std::make_tuple(number, true)) << content;
      }
    }
    EXPECT_TRUE(FileBytes(file) == before && !fs::exists(file.wstring() + L"-journal")) << content;
  }
}

TEST(SlotStore, TheWriteCheckFailsWhereTheSaveWouldAndChangesNothing) {
  const std::pair<const char*, long> cases[] = {
      {"create table data (id integer, cont text); insert into data values (1, 'kept')", 0}, {"create table data (id, cont)", 0},
      {"create table t (id, cont); insert into t values (1, 'kept'); create view data as select * from t", 1},
      {"create table data (id integer primary key, cont text) without rowid; insert into data values (1, 'kept')", 1}};
  for (const auto& [sql, number] : cases) {
    TempDir dir;
    Sql(dir.path / L"data.mdb", sql);
    const std::string before = FileBytes(dir.path / L"data.mdb");
    long got = 0;
    try { app::CheckSlotsWritable(dir.path.wstring()); } catch (const forms::RuntimeError& error) { got = error.number(); }
    EXPECT_EQ(std::make_tuple(got, FileBytes(dir.path / L"data.mdb") == before), std::make_tuple(number, true)) << sql;
    if (number) { EXPECT_THROW(app::SaveSlots(dir.path.wstring(), Numbered(L"n")), forms::RuntimeError) << sql; }
  }
}

}  // namespace
