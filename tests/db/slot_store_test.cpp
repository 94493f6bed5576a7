// The nine slots in data.mdb: new installations, the row rules, texts that
// come back exactly, files that are refused untouched, the writer, and an
// older version's Jet file taken over.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/slots/slot_import.h"
#include "app/slots/slot_store.h"
#include "app/slots/slot_writer.h"
#include "app/slots/slot_write_check.h"
#include "forms/runtime_error.h"
#include "tests/app/harness.h"
#include "tests/db/jet_samples.h"
#include "tests/jet/slot_sample.h"

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

// The number and words of the failure act() reports; 0 when it reports none.
std::pair<long, std::wstring> Failure(const std::function<void()>& act) {
  try {
    act();
  } catch (const forms::RuntimeError& e) {
    return {e.number(), e.description()};
  }
  return {0, L""};
}
// A failure of the slot file: the number, then the file named and what went wrong.
std::pair<long, std::wstring> Told(long number, const fs::path& file, const std::wstring& what) {
  return {number, L"数据库文件“" + file.wstring() + L"”出错：" + what};
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
    // Pages of 16 KB: a long text in a quarter of the pages.
    EXPECT_EQ(Sql(file, "select group_concat(name), page_size from pragma_table_info('data'), pragma_page_size"),
              ",id,cont|16384");
    app::SaveSlots(dir.path.wstring() + L"\\", texts);  // the doubled backslash of a root folder finds the same file
    EXPECT_EQ(Sql(file, "select group_concat(id || typeof(cont), ' '), sum(cont='\U0001F600 朔禾' and id=4) from data"),
              ",1text 2text 3text 4text 5text 6text 7text 8text 9text|1");
    EXPECT_EQ(app::LoadSlots(dir.path.wstring()), texts);
  }
}

TEST(SlotStore, ForeignOrDamagedFilesAreRefusedInWordsAndLeftUntouched) {
  const std::wstring notOurs = L"不是剪贴板数据库（SQLite 格式），文件未改动";
  // The file's bytes, or the SQL that makes it; for number 11 the table's page is overwritten.
  const std::tuple<std::string, long, std::wstring> cases[] = {
      {"\x00\x01\x00\x00Standard Jet DB\x00"s + std::string(2048, 'Z'), 26, notOurs}, {"SQL", 26, notOurs},
      {"SQLite format 3\0"s + std::string(4096, '\x7F'), 26, L"不是数据库文件（file is not a database）"},
      {"create table data (id, cont)", 11, L"文件已损坏（database disk image is malformed）"},
      {"create table other (id, cont)", 1, L"没有表 data，文件未改动"},
      {"create table data (id, text)", 1, L"表 data 没有字段 cont，文件未改动"},
      {"create table data (nr, cont)", 1, L"表 data 没有字段 id，文件未改动"}};
  for (const auto& [content, number, words] : cases) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    content[0] == 'c' ? (void)Sql(file, content) : PutFile(file, content);
    if (number == 11) PutFile(file, FileBytes(file).replace(4096, 4096, 4096, '\xFF'));
    const std::string before = FileBytes(file);
    EXPECT_EQ(Failure([&] { app::LoadSlots(dir.path.wstring()); }), Told(number, file, words));
    EXPECT_EQ(Failure([&] { app::SaveSlots(dir.path.wstring(), Numbered(L"lost ")); }), Told(number, file, words));
    EXPECT_TRUE(FileBytes(file) == before && !fs::exists(file.wstring() + L"-journal")) << content.size();
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
    const long got = Failure([&] { app::CheckSlotsWritable(dir.path.wstring()); }).first;
    EXPECT_EQ(std::make_tuple(got, FileBytes(dir.path / L"data.mdb") == before), std::make_tuple(number, true)) << sql;
    if (number) { EXPECT_THROW(app::SaveSlots(dir.path.wstring(), Numbered(L"n")), forms::RuntimeError) << sql; }
  }
}

// The first row of an id is its slot's; other rows, ids and columns are left
// alone. A slot not changed here keeps another program's newer value; one
// changed here is written.
TEST(SlotStore, FirstRowPerIdIsTheSlotsAndAnotherProgramsNewerValueStaysUnlessChangedHere) {
  for (bool oneByOne : {false, true}) {
    TempDir dir;
    const fs::path file = dir.path / L"data.mdb";
    Sql(file, "create table data (note, cont, id); insert into data values ('k', 'one', 1), ('k', 'two', 2),"
              "('k', 'three', 3.0), ('k', 'four', 4), ('k', null, 5), ('k', 42, 8), ('k', 'nine', 9),"
              "('k', 'second one', 1), ('k', 'ten', 10)");
    app::SlotStore store(dir.path.wstring());
    const app::SlotTexts loaded = {L"one", L"two", L"three", L"four", L"", L"", L"", L"42", L"nine"};
    ASSERT_EQ(store.Load(), loaded);
    // Meanwhile another program stores slots 2, 3 and 6 and empties slot 9.
    Sql(file, "update data set cont='theirs 2' where id=2; update data set cont='theirs 3' where id=3;"
              "insert into data (cont, id) values ('theirs 6', 6); update data set cont=null where id=9");
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
    EXPECT_EQ(Sql(file, "select note, typeof(id) || id, typeof(cont), cont from data order by id, rowid"),
              ",k|integer1|text|mine 1,k|integer1|text|second one,k|integer2|text|theirs 2,k|integer3|text|mine 3,"
              "k|integer4|text|four,k|integer5|text|,<null>|integer6|text|theirs 6,<null>|integer7|text|,"
              "k|integer8|text|42,k|integer9|null|<null>,k|integer10|text|ten")
        << oneByOne;
    EXPECT_EQ(store.Baseline(), texts);  // unchanged where their value was kept: theirs until changed here
  }
}

// A writer, quick to try again, over a store of a fresh folder; counts the failures told.
struct WriterFixture {
  using ms = std::chrono::milliseconds;
  bool Settled() { return PumpUntil([&] { return !writer.Pending(); }, 20000); }
  bool AttemptsReach(int count) { return PumpUntil([&] { return writer.Attempts() >= count; }, 20000); }
  TempDir dir;
  fs::path file = dir.path / L"data.mdb";
  app::SlotStore store{dir.path.wstring()};
  std::atomic<int> told{0};
  app::SlotWriter writer{store, [this] { ++told; }, {ms(20), ms(10), ms(10), ms(40)}};
};

TEST(SlotWriter, AFileHeldByAnotherProgramIsTriedAgainWithoutAWordTheLatestTextWrittenAndNothingOnceStopped) {
  for (bool stop : {false, true}) {
    WriterFixture f;
    f.store.Load();
    {
      sqlite3* other = nullptr;  // another program's write lock, given up when closed
      sqlite3_open16(f.file.c_str(), &other);
      const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closed(other, sqlite3_close);
      ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
      f.writer.Hand(4, L"first text");
      ASSERT_TRUE(f.AttemptsReach(3));
      f.writer.Hand(4, L"after the lock");  // the slot's latest text is the one written
      EXPECT_EQ(std::make_tuple(f.writer.Pending(), f.told.load(), f.writer.LastFailure().has_value()),
                std::make_tuple(true, 0, false));
      // Written straight away, the lock is told and the baseline stays.
      app::SlotStore store(f.dir.path.wstring());
      EXPECT_EQ(Failure([&] { store.Write(3, L"late", 50); }), Told(5, f.file, L"文件正被其他程序占用（database is locked）"));
      EXPECT_EQ(store.Baseline(), app::SlotTexts{});
      if (stop) f.writer.Stop(), f.writer.Hand(5, L"never");  // returns though a write waits for the lock
    }
    ASSERT_TRUE(f.Settled());
    // The rows of the slots missing beside it come with it, in slot order.
    EXPECT_EQ(Sql(f.file, "select group_concat(id || ':' || cont) from (select * from data order by rowid)"),
              stop ? ",<null>" : ",1:,2:,3:,4:after the lock,5:,6:,7:,8:,9:");
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
  EXPECT_EQ(std::make_tuple(f.told.load(), f.writer.LastFailure().value().number(), f.writer.Pending(), FileBytes(f.file)),
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

// An older version's Jet data.mdb taken over: its slots by the row rules,
// every row in the new file, the old file kept byte for byte; files that
// cannot be read told apart and left as they are; folders that take no new
// file; an import stopped at any step.
using jet_sample::Bytes;

class OldSlotFile : public ::testing::Test {
 protected:
  void SetUp() override { if (!JetSamplesDir()) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES)"; }
  const fs::path samples = JetSamplesDir().value_or(fs::path()) / L"slots";
};

// The names in the folder, in order, each followed by a blank.
std::wstring Listing(const fs::path& dir) {
  std::set<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().wstring() + L" ");
  return std::accumulate(names.begin(), names.end(), std::wstring());
}

// The slots of the sample files: the first row of each of the ids 1 to 9.
app::SlotTexts SampleSlots() {
  const std::vector<jet_sample::Row> rows = jet_sample::Rows();
  app::SlotTexts slots;
  for (size_t i : {0, 1, 2, 4, 5, 6, 7, 9, 10})
    slots[rows[i].id - 1] = std::wstring(rows[i].text.begin(), rows[i].text.end());
  return slots;
}
// Every row of their table in file order, texts cut to 16 characters.
const std::string kSampleRows =
    ",1|第一槽 slot one,2|first row for 2,3|line one~line tw,2|second row for 2,4|,5|<null>,6|中文 mixed ASCII t,"
    "7|第1行：剪贴板 clipboar,10|row ten is never,8|Ελληνικά русский,9|emoji 🙂👍 and pla";
std::string OldRows(const fs::path& file) {
  return Sql(file, "select id, substr(replace(cont, char(13, 10), '~'), 1, 16) from data order by rowid");
}

jet::Value Value(jet::ValueKind kind, int64_t integer, double real = 0, const std::u16string& text = u"") {
  jet::Value value;
  value.kind = kind, value.integer = integer, value.real = real, value.boolean = integer != 0, value.text = text;
  return value;
}

TEST(OldSlotRows, TheFirstRowWhoseIdIsTheSlotsNumberCountsAndTheNewFileReadsTheSame) {
  using K = jet::ValueKind;
  const auto text = [](const std::u16string& t) { return Value(K::kText, 0, 0, t); };
  const jet::Value null;
  const std::vector<app::OldSlotRow> rows = {
      {Value(K::kInteger, 2), text(u"first 2")}, {Value(K::kInteger, 10), text(u"ten")},
      {Value(K::kInteger, 2), text(u"second 2")}, {Value(K::kInteger, 1), null},
      {Value(K::kReal, 0, 3.0), Value(K::kInteger, 42)}, {Value(K::kReal, 0, 4.5), text(u"4.5 is no slot")},
      {Value(K::kMoney, 40000), text(u"money 4")}, {text(u"5"), text(u"a text id")},
      {Value(K::kBoolean, 1), text(u"a boolean id")}, {null, text(u"no id")},
      {Value(K::kMoney, 50001), text(u"5.0001 is no slot")}, {Value(K::kInteger, 5), Value(K::kMoney, -123400)},
      {Value(K::kInteger, 1), text(u"second 1")}, {Value(K::kReal, 0, 3.0), text(u"second 3")}};
  const app::SlotTexts want = {L"", L"first 2", L"42", L"money 4", L"-12.3400"};
  EXPECT_EQ(app::SlotsFromOldRows(rows), want);
  TempDir dir;
  app::WriteOldRows((dir.path / L"data.mdb").wstring(), rows);
  EXPECT_EQ(app::LoadSlots(dir.path.wstring()), want);
  EXPECT_EQ(Sql(dir.path / L"data.mdb", "select count(*), count(id), count(cont) from data"), ",14|13|13");
  // Jet 3 text in the code page the file names, appended.
  const auto decode = [](uint16_t codePage, const std::string& bytes) {
    std::u16string out = u">";
    return app::DecodeOldText(codePage, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &out) ? out : u"-";
  };
  EXPECT_EQ(std::make_tuple(decode(936, "\xD6\xD0\xCE\xC4 ok"), decode(1251, "\xC4\xE0"), decode(0, "caf\xE9\x80")),
            std::make_tuple(u">中文 ok", u">Да", u">café€"));
  EXPECT_EQ(std::make_tuple(decode(936, "\xD6"), decode(0xFFFF, "text")), std::make_tuple(u"-", u"-"));
}

// Loading fails with the number and the words, the file left as it was and
// nothing written beside it.
TEST_F(OldSlotFile, FilesThatCannotBeReadAreToldWhichAndLeftAsTheyAre) {
  const std::string plain = FileBytes(samples / L"slots-v2000-plain.mdb"), notable = FileBytes(samples / L"slots-v2000-notable.mdb");
  const jet_sample::SlotFile f(Bytes(plain.begin(), plain.end()));
  ASSERT_TRUE(f.Found());
  const Bytes& b = f.bytes;
  using jet_sample::Put;
  const std::tuple<Bytes, long, std::wstring> cases[] = {
      {Bytes(notable.begin(), notable.end()), 1, L"没有表 data（no table data）"},
      {f.Renamed("cont", "cant"), 1, L"表 data 没有字段 cont"}, {f.Renamed("id", "ix"), 1, L"表 data 没有字段 id"},
      {Bytes(b.begin(), b.begin() + 3000), 11, L"文件已损坏（the file is cut short"},
      {Put(b, 0x3E, b[0x3E] ^ 0x5A, 1), 26, L"是加密的 Jet 数据库"},
      {Put(b, 0x42, b[0x42] ^ 0x31, 1), 26, L"是设有密码的 Jet 数据库"},
      {Put(b, 0x14, 2, 1), 26, L"是较新版本的 Access 数据库"},
      {Bytes(b.begin(), b.begin() + 4096), 18, L"超过旧版槽文件的上限 256 MB"}};  // made too large below
  for (const auto& [bytes, number, words] : cases) {
    TempDir dir;
    const fs::path data = dir.path / L"data.mdb";
    PutFile(data, std::string(bytes.begin(), bytes.end()));
    if (number == 18) fs::resize_file(data, app::kMaxOldFileBytes + 1);  // refused by its size before it is read
    const uintmax_t size = fs::file_size(data);
    const std::string before = number == 18 ? "" : FileBytes(data);
    const auto [got, told] = Failure([&] { app::SlotStore(dir.path.wstring()).Load(); });
    EXPECT_EQ(std::make_tuple(got, told.find(words) != std::wstring::npos, told.find(Told(0, data, L"").second)),
              std::make_tuple(number, true, size_t{0})) << told;
    EXPECT_EQ(std::make_tuple(fs::file_size(data), number == 18 || FileBytes(data) == before, Listing(dir.path)),
              std::make_tuple(size, true, std::wstring(L"data.mdb "))) << words;
  }
}

TEST_F(OldSlotFile, AFolderThatTakesNoNewFileShowsTheSlotsAndAWriteTakesTheFileOverOnceItDoes) {
  const std::string old = FileBytes(samples / L"slots-v2000-compressed.mdb");
  // A folder in the way of a file the take-over writes, as in a folder that takes no files.
  for (const auto& [obstacle, number] : {std::pair{L"data.mdb-import.lock", 8}, {L"data.mdb-copy.tmp", 8}, {L"data.mdb-new.tmp", 14}}) {
    TempDir dir;
    const fs::path data = dir.path / L"data.mdb";
    PutFile(data, old);
    fs::create_directory(dir.path / obstacle);
    app::SlotStore store(dir.path.wstring());
    EXPECT_EQ(store.Load(), SampleSlots()) << obstacle;
    ASSERT_TRUE(store.Imported() && store.Imported()->notTaken) << obstacle;
    EXPECT_EQ(std::make_tuple(store.HoldsOldFile(), store.Imported()->notTaken->number(), store.Imported()->keptPath),
              std::make_tuple(true, number, std::wstring())) << obstacle;
    // A write fails as the take-over did; the old file stays as it is.
    const bool save = obstacle == std::wstring(L"data.mdb-copy.tmp");
    app::SlotTexts want = SampleSlots();
    want[3] = L"four";
    const auto write = [&] { save ? store.Save(want) : (void)store.Write(4, L"four"); };
    EXPECT_EQ(std::make_tuple(Failure(write).first, FileBytes(data) == old, Listing(dir.path)),
              std::make_tuple(number, true, L"data.mdb " + std::wstring(obstacle) + L" "));
    // Once the folder takes files, the write takes the old file over first.
    fs::remove(dir.path / obstacle);
    write();
    EXPECT_EQ(std::make_tuple(store.HoldsOldFile(), app::LoadSlots(dir.path.wstring()) == want,
                              FileBytes(dir.path / L"data-旧版.mdb") == old, Listing(dir.path)),
              std::make_tuple(false, true, true, std::wstring(L"data-旧版.mdb data.mdb "))) << obstacle;
  }
}

struct Stop {};

// Stopped after any step, data.mdb is the old file or the whole new one, the
// old bytes were kept before it changed, and the next start ends the import.
TEST_F(OldSlotFile, TakenOverOnceWithEveryRowAndTheOldFileKeptWhereverTheImportStops) {
  const std::string old = FileBytes(samples / L"slots-v2000-compressed.mdb");
  for (const std::string step : {"", "read", "copy written", "kept", "rows written", "flushed", "replaced"}) {
    TempDir dir;
    const fs::path data = dir.path / L"data.mdb", kept = dir.path / L"data-旧版 (2).mdb";
    PutFile(data, old);
    PutFile(dir.path / L"data-旧版.mdb", "the user's");  // stays; the copy takes the next name
    app::SetImportStepHookForTesting([&](const char* done) { if (done == step) throw Stop(); });
    app::SlotStore first(dir.path.wstring());
    if (step.empty()) {
      EXPECT_EQ(first.Load(), SampleSlots());
      ASSERT_TRUE(first.Imported());
      EXPECT_EQ(std::make_tuple(first.Imported()->keptPath, first.HoldsOldFile()),
                std::make_tuple(kept.wstring(), false));
    } else {
      EXPECT_THROW(first.Load(), Stop) << step;
    }
    app::SetImportStepHookForTesting(nullptr);
    const bool changed = FileBytes(data) != old;
    EXPECT_EQ(std::make_tuple(changed, !changed || (FileBytes(kept) == old && OldRows(data) == kSampleRows)),
              std::make_tuple(step.empty() || step == "replaced", true)) << step;
    app::SlotStore next(dir.path.wstring());
    const bool slotsBack = next.Load() == SampleSlots();
    EXPECT_EQ(std::make_tuple(slotsBack, next.Imported() != nullptr, FileBytes(kept) == old, OldRows(data),
                              FileBytes(dir.path / L"data-旧版.mdb"), Listing(dir.path)),
              std::make_tuple(true, !changed, true, kSampleRows, "the user's",
                              std::wstring(L"data-旧版 (2).mdb data-旧版.mdb data.mdb "))) << step;
  }
}

}  // namespace
