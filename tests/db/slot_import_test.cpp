// An older version's Jet data.mdb taken over: its slots by the row rules,
// every row in the new file, the old file kept byte for byte; files that
// cannot be read told apart and left as they are; folders that take no new
// file; an import stopped at any step.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>
#include <string>
#include <tuple>

#include "app/slot_import.h"
#include "app/slot_store.h"
#include "forms/runtime_error.h"
#include "tests/app/harness.h"
#include "tests/db/jet_samples.h"
#include "tests/jet/slot_file_damage.h"

namespace {

using jet_damage::Bytes;

#define REQUIRE_SAMPLES(dir)                                                          \
  const std::optional<fs::path> dir##_found = JetSamplesDir();                        \
  if (!dir##_found) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES)"; \
  const fs::path dir = *dir##_found / L"slots"

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

// The names in the folder, in order, joined by blanks.
std::wstring Listing(const fs::path& dir) {
  std::set<std::wstring> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().wstring());
  std::wstring out;
  for (const std::wstring& name : names) out += (out.empty() ? L"" : L" ") + name;
  return out;
}

void PutBytes(const fs::path& file, const Bytes& bytes) { PutFile(file, std::string(bytes.begin(), bytes.end())); }

// The slots of the sample files, as their README lists them.
app::SlotTexts SampleSlots() {
  app::SlotTexts s = {L"第一槽 slot one", L"first row for 2", L"line one\r\nline two\r\n\ttabbed"};
  for (int i = 0; i < 150; ++i) s[5] += L"中文 mixed ASCII text; ";
  for (int n = 1; n <= 4000; ++n) s[6] += L"第" + std::to_wstring(n) + L"行：剪贴板 clipboard line 🙂\r\n";
  s[7] = L"Ελληνικά русский עברית 日本語 한국어", s[8] = L"emoji 🙂👍 and plain ASCII";
  return s;
}
// Every row of the sample files' table, in file order (texts cut to 16 characters).
const char kSampleRows[] =
    ",1|第一槽 slot one,2|first row for 2,3|line one~line tw,2|second row for 2,4|,5|<null>,6|中文 mixed ASCII t,"
    "7|第1行：剪贴板 clipboar,10|row ten is never,8|Ελληνικά русский,9|emoji 🙂👍 and pla";
std::string Rows(const fs::path& file) {
  return Sql(file, "select id, substr(replace(cont, char(13, 10), '~'), 1, 16) from data order by rowid");
}

TEST(OldSlotFile, SampleFilesAreTakenOverOnceWithEveryRowAndTheOldFileKept) {
  REQUIRE_SAMPLES(samples);
  ASSERT_EQ(SampleSlots()[6].size(), 118893u);
  for (const wchar_t* name : {L"slots-v2000-compressed.mdb", L"slots-v2000-plain.mdb", L"slots-v2000-empty.mdb"}) {
    TempDir dir;
    const fs::path data = dir.path / L"data.mdb";
    const bool empty = name == std::wstring(L"slots-v2000-empty.mdb"), plain = name == std::wstring(L"slots-v2000-plain.mdb");
    fs::copy_file(samples / name, data);
    // A file of the user's under the kept name stays; the copy takes the next one.
    if (plain) PutFile(dir.path / L"data-旧版.mdb", "the user's");
    const fs::path kept = dir.path / (plain ? L"data-旧版 (2).mdb" : L"data-旧版.mdb");
    app::SlotStore store(dir.path.wstring());
    const app::SlotTexts slots = empty ? app::SlotTexts{} : SampleSlots();
    EXPECT_EQ(store.Load(), slots) << name;
    ASSERT_TRUE(store.Imported() != nullptr && !store.HoldsOldFile()) << name;
    EXPECT_EQ(store.Imported()->keptPath, kept.wstring());
    EXPECT_EQ(std::make_tuple(FileBytes(kept) == FileBytes(samples / name), Rows(data), Sql(data, "pragma page_size")),
              std::make_tuple(true, std::string(empty ? "" : kSampleRows), std::string(",16384"))) << name;
    const std::wstring listing = Listing(dir.path);
    EXPECT_EQ(listing, plain ? L"data-旧版 (2).mdb data-旧版.mdb data.mdb" : L"data-旧版.mdb data.mdb");
    // Started again: the same slots from the new file, nothing taken over.
    app::SlotStore again(dir.path.wstring());
    EXPECT_EQ(again.Load(), slots);
    EXPECT_EQ(std::make_tuple(again.Imported() == nullptr, Listing(dir.path)), std::make_tuple(true, listing));
    if (plain) {
      EXPECT_EQ(FileBytes(dir.path / L"data-旧版.mdb"), "the user's");
    }
  }
}

jet::Value Number(jet::ValueKind kind, int64_t integer, double real = 0) {
  jet::Value value;
  value.kind = kind, value.integer = integer, value.real = real, value.boolean = integer != 0;
  return value;
}
jet::Value Text(const std::u16string& text) {
  jet::Value value;
  value.kind = jet::ValueKind::kText, value.text = text;
  return value;
}

TEST(OldSlotFile, TheFirstRowWhoseIdIsTheSlotsNumberCountsAndTheNewFileReadsTheSame) {
  using K = jet::ValueKind;
  const jet::Value null;
  const std::vector<app::OldSlotRow> rows = {
      {Number(K::kInteger, 2), Text(u"first 2")}, {Number(K::kInteger, 10), Text(u"ten")},
      {Number(K::kInteger, 2), Text(u"second 2")}, {Number(K::kInteger, 1), null},
      {Number(K::kReal, 0, 3.0), Number(K::kInteger, 42)}, {Number(K::kReal, 0, 4.5), Text(u"4.5 is no slot")},
      {Number(K::kMoney, 40000), Text(u"money 4")}, {Text(u"5"), Text(u"a text id")},
      {Number(K::kBoolean, 1), Text(u"a boolean id")}, {null, Text(u"no id")},
      {Number(K::kMoney, 50001), Text(u"5.0001 is no slot")}, {Number(K::kInteger, 5), Number(K::kMoney, -123400)},
      {Number(K::kInteger, 1), Text(u"second 1")}, {Number(K::kReal, 0, 3.0), Text(u"second 3")}};
  const app::SlotTexts want = {L"", L"first 2", L"42", L"money 4", L"-12.3400"};
  EXPECT_EQ(app::SlotsFromOldRows(rows), want);
  TempDir dir;
  app::WriteOldRows((dir.path / L"data.mdb").wstring(), rows);
  EXPECT_EQ(app::LoadSlots(dir.path.wstring()), want);
  EXPECT_EQ(Sql(dir.path / L"data.mdb", "select count(*), count(id), count(cont) from data"), ",14|13|13");
  // Jet 3 text in the code page the file names, appended.
  const auto decode = [](uint16_t codePage, const std::string& bytes) {
    std::u16string out = u">";
    const bool done = app::DecodeOldText(codePage, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &out);
    return done ? out : u"<refused>";
  };
  EXPECT_EQ(decode(936, "\xD6\xD0\xCE\xC4 ok"), u">中文 ok");
  EXPECT_EQ(decode(1251, "\xC4\xE0"), u">Да");
  EXPECT_EQ(decode(0, "caf\xE9\x80"), u">café€");
  EXPECT_EQ(decode(936, "\xD6"), u"<refused>");
  EXPECT_EQ(decode(0xFFFF, "text"), u"<refused>");
}

Bytes ReadAll(const fs::path& file) {
  const std::string bytes = FileBytes(file);
  return Bytes(bytes.begin(), bytes.end());
}

// Loading the folder's data.mdb fails with the number and words; the file
// stays as it was and nothing is written beside it.
void ExpectRefused(const fs::path& dir, long number, const std::wstring& words) {
  const fs::path data = dir / L"data.mdb";
  const uintmax_t size = fs::file_size(data);
  const std::string before = size < (1u << 20) ? FileBytes(data) : std::string();
  try {
    app::SlotStore(dir.wstring()).Load();
    ADD_FAILURE() << "no failure: " << words;
  } catch (const forms::RuntimeError& e) {
    EXPECT_EQ(e.number(), number) << e.description();
    EXPECT_NE(e.description().find(words), std::wstring::npos) << e.description();
    EXPECT_EQ(e.description().find(L"数据库文件“" + data.wstring() + L"”出错："), 0u) << e.description();
  }
  EXPECT_EQ(std::make_tuple(fs::file_size(data), Listing(dir)), std::make_tuple(size, std::wstring(L"data.mdb"))) << words;
  if (!before.empty()) {
    EXPECT_EQ(FileBytes(data), before) << words;
  }
}

TEST(OldSlotFile, FilesThatCannotBeReadAreToldWhichAndLeftAsTheyAre) {
  REQUIRE_SAMPLES(samples);
  const jet_damage::SlotFile f(ReadAll(samples / L"slots-v2000-plain.mdb"));
  ASSERT_TRUE(f.Found());
  const Bytes& b = f.bytes;
  using jet_damage::Put;
  const struct {
    Bytes bytes;
    long number;
    std::wstring words;
  } cases[] = {
      {ReadAll(samples / L"slots-v2000-notable.mdb"), 1, L"没有表 data（no table data）"},
      {f.Renamed("cont", "cant"), 1, L"表 data 没有字段 cont"},
      {f.Renamed("id", "ix"), 1, L"表 data 没有字段 id"},
      {Bytes(b.begin(), b.begin() + 3000), 11, L"已损坏（the file is cut short"},
      {Bytes(b.begin(), b.begin() + f.data_page * jet_damage::kPage), 11, L"is past the end of the file"},
      {f.PageOutOfRange(), 11, L"page 16777215 is past the end of the file"},
      {f.MemoLoop(), 11, L"loops back"},
      {f.RowPastPage(), 11, L"outside its place in the page"},
      {Put(b, 0x3E, b[0x3E] ^ 0x5A, 1), 26, L"是加密的 Jet 数据库"},
      {Put(b, 0x42, b[0x42] ^ 0x31, 1), 26, L"是设有密码的 Jet 数据库"},
      {Put(b, 0x14, 2, 1), 26, L"是较新版本的 Access 数据库"}};
  for (const auto& c : cases) {
    TempDir dir;
    PutBytes(dir.path / L"data.mdb", c.bytes);
    ExpectRefused(dir.path, c.number, c.words);
  }
  // Too large: refused by its size before anything is read.
  TempDir dir;
  HANDLE file = CreateFileW((dir.path / L"data.mdb").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  DWORD written = 0;
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(app::kMaxOldFileBytes) + 1;
  ASSERT_TRUE(WriteFile(file, b.data(), 4096, &written, nullptr) && SetFilePointerEx(file, end, nullptr, FILE_BEGIN) &&
              SetEndOfFile(file));
  CloseHandle(file);
  ExpectRefused(dir.path, 18, L"超过旧版槽文件的上限 256 MB");
}

TEST(OldSlotFile, AFolderThatTakesNoNewFileShowsTheSlotsAndAWriteTakesTheFileOverOnceItDoes) {
  REQUIRE_SAMPLES(samples);
  const std::string old = FileBytes(samples / L"slots-v2000-compressed.mdb");
  // A folder in the way of a file the take-over writes, as in a folder that takes no files.
  const std::pair<const wchar_t*, long> obstacles[] = {
      {L"data.mdb-import.lock", 8}, {L"data.mdb-copy.tmp", 8}, {L"data.mdb-new.tmp", 14}};
  for (const auto& [obstacle, number] : obstacles) {
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
    const bool save = obstacle == obstacles[1].first;
    long failed = 0;
    try {
      save ? store.Save(SampleSlots()) : (void)store.Write(4, L"four");
    } catch (const forms::RuntimeError& e) {
      failed = e.number();
    }
    const std::wstring listing = L"data.mdb " + std::wstring(obstacle);
    EXPECT_EQ(std::make_tuple(failed, FileBytes(data) == old, Listing(dir.path)), std::make_tuple(number, true, listing));
    // Once the folder takes files, the write takes the old file over first.
    fs::remove(dir.path / obstacle);
    app::SlotTexts want = SampleSlots();
    want[3] = L"four";
    save ? store.Save(want) : (void)store.Write(4, L"four");
    EXPECT_EQ(std::make_tuple(store.HoldsOldFile(), app::LoadSlots(dir.path.wstring()) == want,
                              FileBytes(dir.path / L"data-旧版.mdb") == old, Listing(dir.path)),
              std::make_tuple(false, true, true, std::wstring(L"data-旧版.mdb data.mdb"))) << obstacle;
  }
}

struct Stop {};

TEST(OldSlotFile, AnImportStoppedAtAnyStepLeavesTheDataWholeAndTheNextStartEndsItCleanly) {
  REQUIRE_SAMPLES(samples);
  const std::string old = FileBytes(samples / L"slots-v2000-compressed.mdb");
  for (const std::string step : {"read", "copy written", "kept", "rows written", "flushed", "replaced"}) {
    TempDir dir;
    const fs::path data = dir.path / L"data.mdb", kept = dir.path / L"data-旧版.mdb";
    PutFile(data, old);
    app::SetImportStepHookForTesting([&](const char* done) {
      if (done == step) throw Stop();
    });
    EXPECT_THROW(app::SlotStore(dir.path.wstring()).Load(), Stop) << step;
    app::SetImportStepHookForTesting(nullptr);
    // data.mdb is the old file or the whole new one; the old bytes were kept before it changed.
    const bool changed = FileBytes(data) != old;
    EXPECT_EQ(changed, step == "replaced");
    if (changed) {
      EXPECT_EQ(std::make_tuple(FileBytes(kept) == old, Rows(data)), std::make_tuple(true, std::string(kSampleRows)));
    }
    app::SlotStore next(dir.path.wstring());
    const bool slotsBack = next.Load() == SampleSlots();
    EXPECT_EQ(std::make_tuple(slotsBack, next.Imported() != nullptr, FileBytes(kept) == old, Rows(data),
                              Listing(dir.path)),
              std::make_tuple(true, !changed, true, std::string(kSampleRows), std::wstring(L"data-旧版.mdb data.mdb")))
        << step;
  }
}

}  // namespace
