// Files that are not slot databases, read-only files and files held by
// another connection: each failure names the file, carries a number, and
// leaves the file exactly as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "app/slot_store.h"
#include "forms/runtime_error.h"
#include "tests/db/fixture_db.h"
#include "tests/db/slot_test_folder.h"

namespace {

using app::LoadSlots;
using app::SaveSlots;
using app::SlotTexts;
using slot_test::FixtureDb;
using slot_test::TempFolder;
using namespace std::string_literals;

constexpr long kNotADatabase = 26;  // SQLite's "file is not a database"
constexpr long kGeneralError = 1;
constexpr long kBusy = 5;
constexpr long kReadOnly = 8;
constexpr long kCannotOpen = 14;

SlotTexts Filled(const std::wstring& text) {
  SlotTexts slots;
  slots.fill(text);
  return slots;
}

template <typename Call>
forms::RuntimeError Failure(Call call) {
  try {
    call();
  } catch (const forms::RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "no forms::RuntimeError";
  return forms::RuntimeError(0, L"");
}

// Load and save both refuse the file with this number and leave its bytes and
// its folder as they were (no journal or other side files).
void ExpectRefusedUntouched(const TempFolder& folder, long number) {
  const std::wstring path = folder.File(L"data.mdb");
  const std::string before = slot_test::ReadBytes(path);
  const auto loadError = Failure([&] { LoadSlots(folder.path()); });
  const auto saveError = Failure([&] { SaveSlots(folder.path(), Filled(L"lost?")); });
  for (const auto* error : {&loadError, &saveError}) {
    EXPECT_EQ(error->number(), number);
    EXPECT_NE(error->description().find(path), std::wstring::npos) << "names the file";
  }
  EXPECT_TRUE(slot_test::ReadBytes(path) == before) << "file changed";
  EXPECT_FALSE(slot_test::FileExists(path + L"-journal"));
  EXPECT_FALSE(slot_test::FileExists(path + L"-wal"));
}

TEST(SlotStoreForeignFile, FilesThatAreNotDatabasesAreRefused) {
  const std::string jet = "\x00\x01\x00\x00Standard Jet DB\x00"s + std::string(4096 - 19, '\x5a');
  const std::string ace = "\x00\x01\x00\x00Standard ACE DB\x00"s + std::string(300, '\0');
  for (const std::string& bytes : {jet, ace, "plain text, not a database\r\n"s, "SQL"s,
                                   std::string(8192, '\0')}) {
    SCOPED_TRACE(bytes.size());
    TempFolder folder;
    slot_test::WriteBytes(folder.File(L"data.mdb"), bytes);
    ExpectRefusedUntouched(folder, kNotADatabase);
  }
}

TEST(SlotStoreForeignFile, DatabaseWithoutTheTableOrAFieldIsRefused) {
  for (const char* schema : {"create table other (id integer, cont text)",
                             "create table data (id integer, text_value text)",
                             "create table data (number integer, cont text)"}) {
    SCOPED_TRACE(schema);
    TempFolder folder;
    {
      FixtureDb db(folder.File(L"data.mdb"));
      db.Exec(schema);
    }
    ExpectRefusedUntouched(folder, kGeneralError);
  }
}

TEST(SlotStoreForeignFile, MissingFolderIsReportedAndNothingIsCreated) {
  TempFolder folder;
  const std::wstring missing = folder.File(L"gone");
  const auto error = Failure([&] { LoadSlots(missing); });
  EXPECT_EQ(error.number(), kCannotOpen);
  EXPECT_NE(error.description().find(missing + L"\\data.mdb"), std::wstring::npos);
  EXPECT_FALSE(slot_test::FileExists(missing));
}

// Another program has the file open for reading and denies writing, as a
// read-only file would: the slots still load, the save is refused.
TEST(SlotStoreReadOnly, LoadsButSaveIsReportedAndNothingIsLost) {
  TempFolder folder;
  const std::wstring path = folder.File(L"data.mdb");
  SaveSlots(folder.path(), Filled(L"kept"));
  const std::string before = slot_test::ReadBytes(path);
  HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);

  EXPECT_EQ(LoadSlots(folder.path()), Filled(L"kept"));
  const auto error = Failure([&] { SaveSlots(folder.path(), Filled(L"new")); });
  CloseHandle(reader);
  EXPECT_EQ(error.number(), kReadOnly);
  EXPECT_NE(error.description().find(path), std::wstring::npos);
  EXPECT_TRUE(slot_test::ReadBytes(path) == before) << "file changed";
  EXPECT_EQ(LoadSlots(folder.path()), Filled(L"kept"));
}

class SlotStoreLocked : public ::testing::Test {
 protected:
  void SetUp() override { SaveSlots(folder_.path(), Filled(L"before")); }

  // Another connection on its own thread takes an exclusive lock, reports
  // that it holds it, and gives it up after `hold`.
  std::thread HoldExclusiveLock(std::chrono::milliseconds hold) {
    std::promise<void> locked;
    std::future<void> isLocked = locked.get_future();
    std::thread holder([this, hold, locked = std::move(locked)]() mutable {
      FixtureDb db(folder_.File(L"data.mdb"));
      db.Exec("begin exclusive");
      locked.set_value();
      std::this_thread::sleep_for(hold);
      db.Exec("commit");
    });
    isLocked.wait();
    return holder;
  }

  TempFolder folder_;
};

TEST_F(SlotStoreLocked, ShortLockIsWaitedFor) {
  std::thread holder = HoldExclusiveLock(std::chrono::milliseconds(400));
  EXPECT_NO_THROW(SaveSlots(folder_.path(), Filled(L"after")));
  holder.join();
  EXPECT_EQ(LoadSlots(folder_.path()), Filled(L"after"));
}

TEST_F(SlotStoreLocked, LongLockIsReportedAfterABoundedWait) {
  std::thread holder = HoldExclusiveLock(std::chrono::milliseconds(8000));
  const auto saveError = Failure([&] { SaveSlots(folder_.path(), Filled(L"after")); });
  const auto loadError = Failure([&] { LoadSlots(folder_.path()); });
  holder.join();
  EXPECT_EQ(saveError.number(), kBusy);
  EXPECT_EQ(loadError.number(), kBusy);
  EXPECT_NE(saveError.description().find(folder_.File(L"data.mdb")), std::wstring::npos);
  EXPECT_EQ(LoadSlots(folder_.path()), Filled(L"before"));
}

}  // namespace
