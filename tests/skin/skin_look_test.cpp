// What the skin draws on a real form, read back pixel by pixel and compared
// with a reference picture.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "skin/core/skin_window.h"
#include "skin/core/window_props.h"
#include "skin/render/check_option_painters.h"
#include "skin/render/header_item_painter.h"
#include "skin_fixture.h"
#include "tests/look/picture.h"

namespace {

// Every face of every image on one form: the buttons normal and disabled;
// the combo buttons normal, hot and pressed, the arrows enabled and disabled;
// option faces in all four states, dots and check marks enabled and disabled,
// the check box's hot and pressed fills, the grayed squares, a mixed box in
// its normal face; header items normal, hot and pressed; a half-full progress
// bar, a vertical one past its range after a frame paint (which covers the
// client area too); a disabled edit; the frames. Compared with the reference
// picture made under Wine in the suite's own prefix (made anew when
// CLIP_LOOK_RENEW is set).
TEST(SkinLook, FormMatchesItsReferencePicture) {
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    GTEST_SKIP() << "the reference picture shows Wine's fonts and metrics";
  }
  SkinForm f;
  ASSERT_TRUE(f.attached);
  auto add = [&](const wchar_t* cls, DWORD style, int x, int y, int w, LONG_PTR data) {
    HWND child = CreateChild(f.form, cls, style, 0, x, y, w, 20);
    SetWindowLongPtrW(child, GWLP_USERDATA, data);
    return skin::SkinWindow(child), child;
  };
  using skin::VisualState;
  const struct { VisualState state; LONG_PTR check; DWORD style; } marks[] = {
      {VisualState::Normal, 0, 0}, {VisualState::Hot, 0, 0}, {VisualState::Pressed, 0, 0},
      {VisualState::Normal, 0, WS_DISABLED}, {VisualState::Normal, BST_CHECKED, 0},
      {VisualState::Normal, BST_CHECKED, WS_DISABLED}, {VisualState::Hot, BST_INDETERMINATE, 0},
      {VisualState::Pressed, BST_INDETERMINATE, WS_DISABLED}};
  HWND options[8], checks[8];
  for (int i = 0; i < 8; ++i) {
    options[i] = add(L"ThunderRT6OptionButton", marks[i].style, 240 + 24 * i, 175, 20, marks[i].check);
    checks[i] = add(L"ThunderRT6CheckBox", marks[i].style, 240 + 24 * i, 200, 20, marks[i].check);
  }
  HWND header = add(WC_HEADERW, HDS_HORZ, 240, 230, 180, 0);
  HDITEMW item = {};
  item.mask = HDI_WIDTH, item.cxy = 60;
  for (int i = 0; i < 3; ++i) SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  add(L"ComboBox", CBS_DROPDOWNLIST, 340, 70, 90, 0);
  HWND bar = add(L"ProgressBar20WndClass", WS_BORDER | PBS_VERTICAL, 340, 130, 90, 40000);
  skin::SkinWindow(CreateChild(f.form, L"Edit", WS_DISABLED, WS_EX_CLIENTEDGE, 340, 100, 90, 24));
  skin::SetSkinProp(header, skin::prop::kHeaderHotIndex, 1);
  skin::SetSkinProp(header, skin::prop::kHeaderDownIndex, 2);
  skin::SetSkinProp(f.listCombo, skin::prop::kOldState, 1);
  skin::SetSkinProp(f.editCombo, skin::prop::kOldState, 2);
  EnableWindow(f.driveList, FALSE);
  SetWindowLongPtrW(f.progress, GWLP_USERDATA, 15000);
  SetWindowLongPtrW(f.check, GWLP_USERDATA, BST_INDETERMINATE);
  Repaint(f.form);
  Send(bar, WM_NCPAINT, 1);
  for (int i = 0; i < 8; ++i) {
    skin::PaintOptionButton(options[i], marks[i].state, true), skin::PaintCheckBox(checks[i], marks[i].state, true);
  }

  // The captions' colours, which the picture allows to be off where text is drawn.
  EXPECT_GT(WindowPixels(f.push).Count(RGB(0, 0, 0)), 3);
  EXPECT_GT(WindowPixels(f.disabled).Count(0x00968A79), 3);
  const look::Picture seen = WindowPixels(f.form);
  const std::wstring reference = SKIN_FORM_REFERENCE;
  if (GetEnvironmentVariableW(L"CLIP_LOOK_RENEW", nullptr, 0) > 0) {
    EXPECT_TRUE(look::SavePng(reference, seen)) << reference;
    return;
  }
  look::Picture want;
  ASSERT_TRUE(look::LoadPng(reference, want)) << reference;
  // Text: the system-drawn check button, the skinned captions, the header's titles.
  std::vector<RECT> text = {look::WindowIn(f.form, f.checkStyle)};
  for (HWND b : {f.push, f.second, f.disabled}) text.push_back(look::InWindow(f.form, b, look::ButtonCaptionZone(b)));
  for (int i = 0; i < 2; ++i) {
    RECT r = {};
    SendMessageW(f.header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    text.push_back(look::InWindow(f.form, f.header, look::CentredTextZone(f.header, skin::HeaderItemText(f.header, i), r)));
  }
  const look::Difference d = look::Compare(want, seen, text);
  EXPECT_EQ(d.pixels, 0) << look::DescribeIn(d, {0, 0, want.width, want.height})
                         << " (form coordinates; seen: skin_form-seen.png, differences: skin_form-diff.png beside the test)";
  if (d.pixels) look::SavePng(L"skin_form-seen.png", seen), look::SavePng(L"skin_form-diff.png", d.picture);
}

}  // namespace
