// Loading and saving the nine slots: new installations, the row rules and
// texts that must come back exactly as they went in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/slot_store.h"
#include "tests/db/fixture_db.h"
#include "tests/db/slot_test_folder.h"

namespace {

using namespace std::string_literals;

using app::LoadSlots;
using app::SaveSlots;
using app::SlotTexts;
using slot_test::FixtureDb;
using slot_test::TempFolder;

SlotTexts Numbered(const std::wstring& prefix) {
  SlotTexts slots;
  for (int n = 1; n <= 9; ++n) slots[n - 1] = prefix + std::to_wstring(n);
  return slots;
}

TEST(SlotDatabasePath, AppendsWithoutLookingAtTheLastCharacter) {
  EXPECT_EQ(app::SlotDatabasePath(L"C:\\Tools\\Clip"), L"C:\\Tools\\Clip\\data.mdb");
  EXPECT_EQ(app::SlotDatabasePath(L"C:\\"), L"C:\\\\data.mdb");
  EXPECT_EQ(app::SlotQuery(3), "select * from data where id=3");
  EXPECT_EQ(app::SlotQuery(9), "select * from data where id=9");
}

TEST(SlotDatabasePath, DoubledBackslashReachesTheSameFile) {
  TempFolder folder;
  SaveSlots(folder.path() + L"\\", Numbered(L"root "));
  ASSERT_TRUE(slot_test::FileExists(folder.File(L"data.mdb")));
  EXPECT_EQ(LoadSlots(folder.path())[4], L"root 5");
}

TEST(SlotStoreNewInstallation, MissingFileIsCreatedWithAnEmptyTable) {
  TempFolder folder;
  const SlotTexts loaded = LoadSlots(folder.path());
  for (const auto& text : loaded) EXPECT_EQ(text, L"");
  ASSERT_TRUE(slot_test::FileExists(folder.File(L"data.mdb")));

  FixtureDb db(folder.File(L"data.mdb"));
  EXPECT_EQ(db.Value("select count(*) from data"), "0");
  EXPECT_EQ(db.Rows("select name from pragma_table_info('data') order by cid"),
            (std::vector<std::string>{"id", "cont"}));
}

TEST(SlotStoreNewInstallation, ZeroByteFileGetsTheTable) {
  TempFolder folder;
  slot_test::WriteBytes(folder.File(L"data.mdb"), "");
  const SlotTexts loaded = LoadSlots(folder.path());
  for (const auto& text : loaded) EXPECT_EQ(text, L"");

  SaveSlots(folder.path(), Numbered(L"z"));
  EXPECT_EQ(LoadSlots(folder.path()), Numbered(L"z"));
}

class SlotStoreRows : public ::testing::Test {
 protected:
  void SetUp() override {
    FixtureDb db(path());
    db.Exec("create table data (id integer, cont text)");
  }
  std::wstring path() const { return folder_.File(L"data.mdb"); }

  TempFolder folder_;
};

TEST_F(SlotStoreRows, EmptyTableLoadsEmptyAndFirstSaveAddsNineRowsInOrder) {
  const SlotTexts loaded = LoadSlots(folder_.path());
  for (const auto& text : loaded) EXPECT_EQ(text, L"");

  SlotTexts slots = Numbered(L"slot ");
  slots[6] = L"";
  SaveSlots(folder_.path(), slots);

  FixtureDb db(path());
  EXPECT_EQ(db.Rows("select id, typeof(cont), cont from data order by rowid"),
            (std::vector<std::string>{"1|text|slot 1", "2|text|slot 2", "3|text|slot 3",
                                      "4|text|slot 4", "5|text|slot 5", "6|text|slot 6",
                                      "7|text|", "8|text|slot 8", "9|text|slot 9"}));

  // A second save updates the same rows instead of adding more.
  SaveSlots(folder_.path(), Numbered(L"again "));
  EXPECT_EQ(db.Value("select count(*) from data"), "9");
  EXPECT_EQ(LoadSlots(folder_.path()), Numbered(L"again "));
}

TEST_F(SlotStoreRows, NullTextLoadsEmptyAndIsSavedAsEmptyString) {
  {
    FixtureDb db(path());
    db.Exec("insert into data values (4, 'four'); insert into data values (5, null)");
  }
  const SlotTexts loaded = LoadSlots(folder_.path());
  EXPECT_EQ(loaded[3], L"four");
  EXPECT_EQ(loaded[4], L"");

  SaveSlots(folder_.path(), loaded);
  FixtureDb db(path());
  EXPECT_EQ(db.Rows("select rowid, typeof(cont), cont from data where id=5"),
            (std::vector<std::string>{"2|text|"}));
  EXPECT_EQ(db.Value("select count(*) from data where cont is null"), "0");
}

TEST_F(SlotStoreRows, OtherIdsAndLaterDuplicatesAreNeverTouched) {
  {
    FixtureDb db(path());
    db.Exec(
        "insert into data values (2, 'first two');"
        "insert into data values (10, 'ten');"
        "insert into data values (2, 'second two');"
        "insert into data values (0, 'zero')");
  }
  const SlotTexts loaded = LoadSlots(folder_.path());
  EXPECT_EQ(loaded[1], L"first two");
  for (int n : {1, 3, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(loaded[n - 1], L"") << n;

  SaveSlots(folder_.path(), Numbered(L"new "));
  FixtureDb db(path());
  EXPECT_EQ(db.Rows("select rowid, id, cont from data where rowid <= 4 order by rowid"),
            (std::vector<std::string>{"1|2|new 2", "2|10|ten", "3|2|second two", "4|0|zero"}));
  EXPECT_EQ(db.Value("select count(*) from data"), "12");
  EXPECT_EQ(LoadSlots(folder_.path())[1], L"new 2");
}

TEST(SlotStoreForeignTable, NonTextValuesLoadAsTextAndIdIsRewritten) {
  TempFolder folder;
  {
    FixtureDb db(folder.File(L"data.mdb"));
    // Untyped columns keep whatever is stored; an extra column must survive.
    db.Exec(
        "create table data (note, cont, id);"
        "insert into data values ('keep', 42, 1);"
        "insert into data values ('keep', 1.5, 2);"
        "insert into data values ('keep', 'three', 3.0)");
  }
  const SlotTexts loaded = LoadSlots(folder.path());
  EXPECT_EQ(loaded[0], L"42");
  EXPECT_EQ(loaded[1], L"1.5");
  EXPECT_EQ(loaded[2], L"three");

  SaveSlots(folder.path(), loaded);
  FixtureDb db(folder.File(L"data.mdb"));
  EXPECT_EQ(db.Rows("select note, typeof(id), id, typeof(cont), cont from data where rowid <= 3"),
            (std::vector<std::string>{"keep|integer|1|text|42", "keep|integer|2|text|1.5",
                                      "keep|integer|3|text|three"}));
}

TEST(SlotStoreRoundTrip, TextsComeBackExactly) {
  TempFolder folder;
  SlotTexts slots;
  slots[0] = L"it's \"quoted\"";
  slots[1] = L"'); drop table data; --";
  slots[2] = L"line one\r\nline two\r\n\r\n";
  slots[3] = L"a\tb\t\tc";
  slots[4] = L"\U0001F600 smile, \U00020BB7 and 朔禾剪贴板";
  slots[5] = std::wstring(1024 * 1024, L'x') + L"end";
  slots[6] = L"";
  slots[7] = L"   leading and trailing blanks   ";
  slots[8] = L"nul\0inside"s;
  SaveSlots(folder.path(), slots);
  EXPECT_EQ(LoadSlots(folder.path()), slots);

  // Stored as UTF-8 text that any SQLite reader sees the same way.
  FixtureDb db(folder.File(L"data.mdb"));
  EXPECT_EQ(db.Value("select cont from data where id=2"), "'); drop table data; --");
  EXPECT_EQ(db.Value("select cont from data where id=5"),
            u8"\U0001F600 smile, \U00020BB7 and 朔禾剪贴板");
  EXPECT_EQ(db.Value("select length(cont) from data where id=3"), "22");
  EXPECT_EQ(db.Value("select count(*) from data"), "9");
}

}  // namespace
