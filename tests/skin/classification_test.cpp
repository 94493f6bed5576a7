#include <gtest/gtest.h>

#include <string>

#include "skin/core/class_name.h"
#include "skin/core/control_kind.h"
#include "test_window.h"

using skin::ClassifyClassName;
using skin::ClassifyWindow;
using skin::ControlKind;

TEST(SkinClassification, EveryKnownClassNameMapsToItsKind) {
  const struct {
    const wchar_t* name;
    ControlKind kind;
  } table[] = {
      {L"#32770", ControlKind::Form},
      {L"thunderformdc", ControlKind::Form},
      {L"thunderrt6formdc", ControlKind::Form},
      {L"form", ControlKind::Form},
      {L"thundercommandbutton", ControlKind::CommandButton},
      {L"thunderrt6commandbutton", ControlKind::CommandButton},
      {L"button", ControlKind::CommandButton},
      {L"thundercombobox", ControlKind::ComboBox},
      {L"thunderrt6combobox", ControlKind::ComboBox},
      {L"combo", ControlKind::ComboBox},
      {L"combobox", ControlKind::ComboBox},
      {L"thunderdrivelistbox", ControlKind::DriveList},
      {L"thunderrt6drivelistbox", ControlKind::DriveList},
      {L"thundercheckbox", ControlKind::CheckBox},
      {L"thunderrt6checkbox", ControlKind::CheckBox},
      {L"thunderoptionbutton", ControlKind::OptionButton},
      {L"thunderrt6optionbutton", ControlKind::OptionButton},
      {L"progressbar20wndclass", ControlKind::ProgressBar},
      {L"progressbarwndclass", ControlKind::ProgressBar},
      {L"msvb_lib_header", ControlKind::Header},
      {L"sysheader32", ControlKind::Header},
      {L"datalistwndclass", ControlKind::DataList},
      {L"dblistwndclass", ControlKind::DataList},
      {L"combolbox", ControlKind::ComboList},
  };
  for (const auto& row : table) {
    EXPECT_EQ(ClassifyClassName(row.name), row.kind) << std::wstring(row.name).size();
  }
}

TEST(SkinClassification, ComparisonIgnoresCaseButIsExact) {
  EXPECT_EQ(ClassifyClassName(L"ThunderRT6CommandButton"), ControlKind::CommandButton);
  EXPECT_EQ(ClassifyClassName(L"Button"), ControlKind::CommandButton);
  EXPECT_EQ(ClassifyClassName(L"ComboLBox"), ControlKind::ComboList);
  EXPECT_EQ(ClassifyClassName(L"SysHeader32"), ControlKind::Header);
  EXPECT_EQ(ClassifyClassName(L"ThunderRT6FormDC"), ControlKind::Form);
  // Near misses are not matches.
  EXPECT_EQ(ClassifyClassName(L"buttons"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L" button"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L"combol"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L"Edit"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L"ThunderRT6TextBox"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L""), ControlKind::Other);
}

TEST(SkinClassification, GridIsAnyNameStartingWithApexgrid) {
  EXPECT_EQ(ClassifyClassName(L"apexgrid"), ControlKind::Grid);
  EXPECT_EQ(ClassifyClassName(L"ApexGrid"), ControlKind::Grid);
  EXPECT_EQ(ClassifyClassName(L"ApexGridOleDB32"), ControlKind::Grid);
  EXPECT_EQ(ClassifyClassName(L"apexgrid*"), ControlKind::Grid);
  EXPECT_EQ(ClassifyClassName(L"myapexgrid"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L"x_ApexGrid_y"), ControlKind::Other);
  EXPECT_EQ(ClassifyClassName(L"apexgri"), ControlKind::Other);
}

TEST(SkinClassification, RealWindowsClassifyByTheirRegisteredName) {
  TestWindow button(L"ThunderRT6CommandButton");
  TestWindow grid(L"ApexGridOleDB32Test");
  TestWindow other(L"ThunderRT6PictureBoxDC");
  ASSERT_NE(button.get(), nullptr);
  EXPECT_EQ(skin::GetWndClassName(button.get()), L"ThunderRT6CommandButton");
  EXPECT_EQ(ClassifyWindow(button.get()), ControlKind::CommandButton);
  EXPECT_EQ(ClassifyWindow(grid.get()), ControlKind::Grid);
  EXPECT_EQ(ClassifyWindow(other.get()), ControlKind::Other);

  // The system button class is a command button whatever its style.
  TestWindow checkBox(L"Button", BS_AUTOCHECKBOX);
  ASSERT_NE(checkBox.get(), nullptr);
  EXPECT_EQ(ClassifyWindow(checkBox.get()), ControlKind::CommandButton);
}

TEST(SkinClassification, HandleOfNoWindowGivesEmptyNameAndOther) {
  HWND gone;
  {
    TestWindow window(L"SkinTestGoneWindow");
    gone = window.get();
  }
  EXPECT_EQ(skin::GetWndClassName(gone), L"");
  EXPECT_EQ(skin::GetWndClassName(nullptr), L"");
  EXPECT_EQ(ClassifyWindow(gone), ControlKind::Other);
}

TEST(SkinClassification, LongClassNameIsCutAt254Characters) {
  const std::wstring name(255, L'q');
  TestWindow window(name);
  ASSERT_NE(window.get(), nullptr);
  EXPECT_EQ(skin::GetWndClassName(window.get()), std::wstring(254, L'q'));
}
