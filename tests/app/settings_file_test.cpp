// The settings file: path rule, value text, reading and writing the file.
#include <gtest/gtest.h>

#include <climits>

#include "app/mod_ini.h"
#include "app/profile_text.h"
#include "temp_folder.h"

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { mod_Ini::SetIniPath(folder.File(L"Config.ini")); }
  TempFolder folder;
};

TEST(SettingsPath, RootFolderGetsNoSecondBackslash) {
  EXPECT_EQ(mod_Ini::IniPathFor(L"C:\\"), L"C:\\Config.ini");
  EXPECT_EQ(mod_Ini::IniPathFor(L"C:\\Program Files\\朔禾"), L"C:\\Program Files\\朔禾\\Config.ini");
}

TEST(SettingsValue, BlankBeforeNonNegativeValues) {
  EXPECT_EQ(mod_Ini::FormatIniValue(3750), " 3750");
  EXPECT_EQ(mod_Ini::FormatIniValue(0), " 0");
  EXPECT_EQ(mod_Ini::FormatIniValue(-150), "-150");
  EXPECT_EQ(mod_Ini::FormatIniValue(INT_MIN), "-2147483648");
}

TEST(SettingsValue, IntegerReadingLikeTheProfileReader) {
  EXPECT_EQ(app::ParseProfileInt(" 3750", 1), 3750);
  EXPECT_EQ(app::ParseProfileInt("2000", 1), 2000);
  EXPECT_EQ(app::ParseProfileInt("-150", 1), -150);
  EXPECT_EQ(app::ParseProfileInt("12abc", 1), 12);
  EXPECT_EQ(app::ParseProfileInt("abc", 1), 0);
  EXPECT_EQ(app::ParseProfileInt("", 7), 7);
  EXPECT_EQ(app::ParseProfileInt("99999999999", 1), INT_MAX);
  EXPECT_EQ(app::ParseProfileInt("-99999999999", 1), INT_MIN);
}

TEST_F(SettingsFile, FirstRunCreatesSectionWithKeysInOrder) {
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Width", 3750), 3750);
  mod_Ini::WriteIniInt(L"Last", L"Width", 3750);
  mod_Ini::WriteIniInt(L"Last", L"Height", 4425);
  mod_Ini::WriteIniInt(L"Last", L"Left", -150);
  mod_Ini::WriteIniInt(L"Last", L"Top", 0);
  EXPECT_EQ(folder.Read(L"Config.ini"),
            "[Last]\r\nWidth= 3750\r\nHeight= 4425\r\nLeft=-150\r\nTop= 0\r\n");
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Left", 0), -150);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Height", 0), 4425);
  // Rewriting replaces the line in place.
  mod_Ini::WriteIniInt(L"Last", L"Width", 5000);
  EXPECT_EQ(folder.Read(L"Config.ini"),
            "[Last]\r\nWidth= 5000\r\nHeight= 4425\r\nLeft=-150\r\nTop= 0\r\n");
}

TEST_F(SettingsFile, OtherSectionsAndKeysAreKept) {
  const std::string before =
      "; comment\r\n[Other]\r\nWidth=1\r\n\r\n[last]\r\nwidth=2000\r\nColour=red\r\n\r\n"
      "[Tail]\nx=1";
  folder.Write(L"Config.ini", before);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Width", 3750), 2000);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Top", 9), 9);
  mod_Ini::WriteIniInt(L"Last", L"Width", 3750);
  mod_Ini::WriteIniInt(L"Last", L"Top", 15);
  mod_Ini::WriteIniInt(L"New", L"Left", 1);
  EXPECT_EQ(folder.Read(L"Config.ini"),
            "; comment\r\n[Other]\r\nWidth=1\r\n\r\n[last]\r\nWidth= 3750\r\nColour=red\r\n"
            "Top= 15\r\n\r\n[Tail]\nx=1\r\n[New]\r\nLeft= 1\r\n");
}

TEST_F(SettingsFile, UnwritableFileIsIgnored) {
  mod_Ini::SetIniPath(folder.File(L"missing\\Config.ini"));
  mod_Ini::WriteIniInt(L"Last", L"Width", 5000);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Width", 3750), 3750);
}

}  // namespace
