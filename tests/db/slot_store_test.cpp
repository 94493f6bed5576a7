// The nine slots in data.mdb: new installations, the row rules, texts that
// come back exactly, and files that are refused untouched.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/slot_store.h"
#include "app/slot_writer.h"
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

namespace {

// Every row: id, the type of cont and cont, by id and then by place.
std::string Rows(const fs::path& file) {
  return Sql(file, "select id, typeof(cont), cont from data order by id, rowid");
}

// Another program's write lock on the file, held until destroyed.
struct WriteLock {
  explicit WriteLock(const fs::path& file) {
    sqlite3_open16(file.c_str(), &db);
    locked = sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ~WriteLock() { sqlite3_close(db); }  // closing rolls back
  sqlite3* db = nullptr;
  bool locked = false;
};

TEST(SlotStore, ASlotNotChangedHereLeavesAnotherProgramsNewerValueAndOneChangedHereIsWritten) {
  for (bool oneByOne : {false, true}) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    Sql(file, "create table data (id integer, cont text); insert into data values (1, 'one'), (2, 'two'), (3, 'three'),"
              "(4, 'four'), (5, null), (8, 'eight'), (9, 'nine')");
    app::SlotStore store(dir.path.wstring());
    const app::SlotTexts loaded = {L"one", L"two", L"three", L"four", L"", L"", L"", L"eight", L"nine"};
    ASSERT_EQ(store.Load(), loaded);
    // Meanwhile another program stores slots 2, 3 and 6 and empties slot 9.
    Sql(file, "update data set cont='theirs 2' where id=2; update data set cont='theirs 3' where id=3;"
              "insert into data values (6, 'theirs 6'); update data set cont=null where id=9");
    // Changed here: 1 (alone) and 3 (there too); 5 Null and 7 without a row as read.
    app::SlotTexts texts = loaded;
    texts[0] = L"mine 1", texts[2] = L"mine 3";
    if (oneByOne) {
      std::vector<bool> written;
      for (int n = 1; n <= 9; ++n) written.push_back(store.Write(n, texts[n - 1]));
      EXPECT_EQ(written, (std::vector<bool>{true, false, true, true, true, false, true, true, false}));
    } else {
      store.Save(texts);
    }
    EXPECT_EQ(Rows(file), ",1|text|mine 1,2|text|theirs 2,3|text|mine 3,4|text|four,5|text|,6|text|theirs 6,7|text|,"
                          "8|text|eight,9|null|<null>") << oneByOne;
    EXPECT_EQ(store.Baseline(), texts);  // unchanged where their value was kept
    // The kept slots stay theirs until this program changes them.
    EXPECT_FALSE(store.Write(2, L"two"));
    EXPECT_TRUE(store.Write(9, L"mine 9"));
    EXPECT_EQ(Sql(file, "select group_concat(cont, '|') from data where id in (2, 9)"), ",theirs 2|mine 9");
  }
}

TEST(SlotStore, FailuresAreToldInWordsWithTheEnginesTextAndLeaveTheFileAsItWas) {
  TempDir dir;
  const fs::path file = dir.path / L"data.mdb";
  app::SaveSlots(dir.path.wstring(), Numbered(std::wstring(40000, L'x')));
  std::string bytes = FileBytes(file);
  ASSERT_GT(bytes.size(), 3u * 16384);
  const auto failure = [&](const std::function<void()>& act) {
    try {
      act();
    } catch (const forms::RuntimeError& e) {
      return std::to_wstring(e.number()) + L" " + e.description().substr(e.description().find(L"出错：") + 3);
    }
    return std::wstring(L"no failure");
  };
  {
    WriteLock lock(file);
    ASSERT_TRUE(lock.locked);
    app::SlotStore store(dir.path.wstring());
    EXPECT_EQ(failure([&] { store.Write(3, L"late", 50); }), L"5 文件正被其他程序占用（database is locked）");
    EXPECT_EQ(store.Baseline(), app::SlotTexts{});
  }
  // The table's first page overwritten: damaged.
  std::fill(bytes.begin() + 16384, bytes.begin() + 2 * 16384, '\xFF');
  PutFile(file, bytes);
  EXPECT_EQ(failure([&] { app::LoadSlots(dir.path.wstring()); }), L"11 文件已损坏（database disk image is malformed）");
  EXPECT_EQ(failure([&] { app::SlotStore(dir.path.wstring()).Write(1, L"new"); }),
            L"11 文件已损坏（database disk image is malformed）");
  EXPECT_EQ(FileBytes(file), bytes);
  // A header of its own over pages that are not a database.
  PutFile(file, std::string("SQLite format 3\0", 16) + std::string(4096, '\x7F'));
  EXPECT_EQ(failure([&] { app::LoadSlots(dir.path.wstring()); }), L"26 不是数据库文件（file is not a database）");
}

// A writer, quick to try again, over a store of a fresh folder; counts the failures told.
struct WriterFixture {
  static app::SlotWriter::Timing Fast() {
    using ms = std::chrono::milliseconds;
    return {ms(20), ms(10), ms(10), ms(40)};
  }
  bool Settled() { return PumpUntil([&] { return !writer.Pending(); }, 20000); }
  bool AttemptsReach(int count) { return PumpUntil([&] { return writer.Attempts() >= count; }, 20000); }
  TempDir dir;
  fs::path file = dir.path / L"data.mdb";
  app::SlotStore store{dir.path.wstring()};
  std::atomic<int> told{0};
  app::SlotWriter writer{store, [this] { ++told; }, Fast()};
};

TEST(SlotWriter, WritesTheLatestTextOfEachSlotHandedOverTheRowsInSlotOrder) {
  WriterFixture f;
  f.store.Load();
  for (auto [slot, text] : {std::pair{3, L"three"}, {1, L"first text"}, {1, L"one"}}) f.writer.Hand(slot, text);
  f.writer.Hand(9, std::wstring(1 << 20, L'九'));
  ASSERT_TRUE(f.Settled());
  EXPECT_EQ(Sql(f.file, "select group_concat(id || ':' || substr(cont, 1, 5)) from (select * from data order by rowid)"),
            ",1:one,2:,3:three,4:,5:,6:,7:,8:,9:九九九九九");
  EXPECT_EQ(Sql(f.file, "select count(*) from data where id=9 and cont=replace(hex(zeroblob(1048576)), '00', '九')"), ",1");
  EXPECT_EQ(std::make_tuple(f.store.Baseline()[0], f.store.Baseline()[8].size(), f.told.load()),
            std::make_tuple(std::wstring(L"one"), size_t{1} << 20, 0));
}

TEST(SlotWriter, AFileHeldByAnotherProgramIsTriedAgainWithoutAWordAndNothingIsWrittenOnceStopped) {
  for (bool stop : {false, true}) {
    WriterFixture f;
    f.store.Load();
    {
      WriteLock lock(f.file);
      ASSERT_TRUE(lock.locked);
      f.writer.Hand(4, L"after the lock");
      ASSERT_TRUE(f.AttemptsReach(3));
      EXPECT_EQ(std::make_tuple(f.writer.Pending(), f.told.load(), f.writer.LastFailure().has_value()),
                std::make_tuple(true, 0, false));
      if (stop) f.writer.Stop(), f.writer.Hand(5, L"never");  // returns though a write waits for the lock
    }
    ASSERT_TRUE(f.Settled());
    EXPECT_EQ(app::LoadSlots(f.dir.path.wstring())[3], stop ? L"" : L"after the lock");
  }
}

TEST(SlotWriter, AFailureIsToldOnceUntilEverySlotIsWrittenAgain) {
  WriterFixture f;
  f.store.Load();
  const std::string notADatabase = "not a database, and no header";
  PutFile(f.file, notADatabase);
  f.writer.Hand(2, L"two");
  ASSERT_TRUE(f.AttemptsReach(2));
  for (int n = 1; n <= 9; ++n) f.writer.Hand(n, L"again " + std::to_wstring(n));  // more changes: no more words
  ASSERT_TRUE(f.AttemptsReach(12));
  ASSERT_TRUE(f.writer.LastFailure().has_value());
  EXPECT_EQ(std::make_tuple(f.told.load(), f.writer.LastFailure()->number(), f.writer.Pending(), FileBytes(f.file)),
            std::make_tuple(1, 26L, true, notADatabase));
  // The file goes: the next try makes a new one and writes every slot.
  ASSERT_TRUE(PumpUntil([&] { std::error_code busy; return fs::remove(f.file, busy); }));
  ASSERT_TRUE(f.Settled());
  EXPECT_EQ(std::make_tuple(app::LoadSlots(f.dir.path.wstring()), f.writer.LastFailure().has_value()),
            std::make_tuple(Numbered(L"again "), false));
  // A new failure after everything was written is told again.
  PutFile(f.file, notADatabase);
  f.writer.Hand(5, L"five");
  ASSERT_TRUE(PumpUntil([&] { return f.told == 2; }));
}

}  // namespace
