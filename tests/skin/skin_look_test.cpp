// What the skin draws on a real form, read back pixel by pixel: the faces the
// reference picture shows and those it leaves out, images shared between
// buttons; which class is which kind.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <numeric>
#include <set>
#include <vector>

#include "skin/core/control_kind.h"
#include "skin/core/engine_state.h"
#include "skin/core/skin_window.h"
#include "skin/core/window_props.h"
#include "skin/render/button_image_sets.h"
#include "skin/render/button_state_surfaces.h"
#include "skin/render/check_option_painters.h"
#include "skin/render/header_item_painter.h"
#include "skin/render/round_half_even.h"
#include "skin_fixture.h"
#include "tests/look/picture.h"

namespace {

constexpr COLORREF kBar = 0x00F6D64C;
int Round(double v) { return skin::RoundHalfEven(v); }

// What the reference picture leaves out: the captions' exact colours, a
// normal combo button, a disabled edit, a mixed check box in its normal face,
// a vertical bar past its range, a frame paint, a header lower than its face.
TEST(SkinLook, FacesBeyondTheReferencePicture) {
  SkinForm f;
  ASSERT_TRUE(f.attached);
  EXPECT_GT(WindowPixels(f.push).Count(RGB(0, 0, 0)), 3);
  EXPECT_GT(WindowPixels(f.disabled).Count(0x00968A79), 3);
  SetWindowLongPtrW(f.check, GWLP_USERDATA, BST_INDETERMINATE);
  SetWindowLongPtrW(f.progress, GWLP_USERDATA, 40000);
  SetWindowLongPtrW(f.progress, GWL_STYLE, GetWindowLongPtrW(f.progress, GWL_STYLE) | PBS_VERTICAL);
  EnableWindow(f.sunken, FALSE);
  Repaint(f.form);
  const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
  const int bw = GetSystemMetrics(SM_CXVSCROLL) + 1, ax = 120 - bw - 1 + Round((bw - 7) / 2.0);
  const int ay = 1 + Round((21 - 6) / 2.0);
  const struct { const char* what; HWND window; int x, y; COLORREF colour; } spots[] = {
      {"combo arrow", f.listCombo, ax + 3, ay, Rgb(0x19555F)}, {"combo beside arrow", f.listCombo, ax, ay + 1, kWhite},
      {"disabled edit", f.sunken, 0, 12, 0x00E9CFA4}, {"vertical bar full", f.progress, 50, 1, kBar},
      {"mixed square", f.check, Round((cx - 7) / 2.0), Round((20 - cy) / 2.0) + Round((cy - 7) / 2.0), Rgb(0x51B41B)}};
  for (const auto& s : spots) EXPECT_EQ(WindowPixels(s.window).At(s.x, s.y), s.colour) << s.what;
  Send(f.progress, WM_NCPAINT, 1);  // the frame paint covers the client area too
  EXPECT_EQ(WindowPixels(f.progress).At(50, 1), kBar) << "vertical bar after a frame paint";
  // A header lower than its face shows rows of the face, not blends of them.
  SetWindowPos(f.header, nullptr, 0, 0, 210, 7, SWP_NOMOVE | SWP_NOZORDER);
  Repaint(f.header);
  std::set<COLORREF> column;
  for (int y = 0; y < 20; ++y) column.insert(GetPixel(skin::Engine().images.header, 1, y));
  for (int y = 0; y < 7; ++y) EXPECT_EQ(column.count(WindowPixels(f.header).At(205, y)), 1u) << y;
}

// The pixels of a 75x23 button's state image `state`.
std::vector<COLORREF> ImagePixels(HWND button, int state) {
  std::vector<COLORREF> pixels;
  for (int i = 0; i < 75 * 23; ++i) pixels.push_back(GetPixel(skin::ButtonStateSurface(button, state), i % 75, i / 75));
  return pixels;
}
// Pixels of state image `state` that differ between two buttons of one size.
int ImagesDiffer(HWND a, HWND b, int state) {
  const auto x = ImagePixels(a, state), y = ImagePixels(b, state);
  return std::inner_product(x.begin(), x.end(), y.begin(), 0, std::plus<>(), std::not_equal_to<>());
}

TEST(SkinLook, ButtonsOfOneSizeCaptionAndFocusShareTheirImages) {
  SkinForm f;
  HWND twin = CreateChild(f.form, L"Button", BS_PUSHBUTTON, 0, 10, 200, 75, 23, L"赋值");
  HWND wide = CreateChild(f.form, L"Button", BS_PUSHBUTTON, 0, 100, 200, 80, 23, L"赋值");
  HWND other = CreateChild(f.form, L"Button", BS_PUSHBUTTON, 0, 200, 200, 75, 23, L"清除值");
  for (HWND b : {twin, wide, other}) skin::SkinWindow(b);
  Repaint(f.form);
  for (int n = 0; n < 4; ++n) {
    EXPECT_EQ(ImagesDiffer(f.push, twin, n), 0) << n;
    EXPECT_GT(ImagesDiffer(f.push, other, n), 3) << n;
  }
  EXPECT_EQ(WindowPixels(wide).At(79, 11), Rgb(0x1B8FD5)) << "border of the wider button";
  SetFocus(twin);  // the focused button's images get the focus frame, the others' stay
  for (int n : {0, 3}) EXPECT_GT(ImagesDiffer(f.push, twin, n), 20) << n;
  // Made from another button's plain images, they equal those drawn anew.
  std::vector<COLORREF> copied[4];
  for (int n = 0; n < 4; ++n) copied[n] = ImagePixels(twin, n);
  skin::ForgetButtonImages(f.push), SetFocus(f.form), SetFocus(twin);
  for (int n = 0; n < 4; ++n) EXPECT_EQ(ImagePixels(twin, n), copied[n]) << n;
  for (HWND b : {twin, wide, other}) skin::UnskinWindow(b), DestroyWindow(b);
}

// Every face of every image on one form: the buttons normal and disabled;
// the combo buttons hot and pressed, the arrows enabled and disabled; option
// faces in all four states, dots and check marks enabled and disabled, the
// check box's hot and pressed fills, the grayed squares; header items normal,
// hot and pressed; a half-full progress bar; the frames. Compared with the
// reference picture made under Wine in the suite's own prefix.
TEST(SkinLook, FormMatchesItsReferencePicture) {
  if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
    GTEST_SKIP() << "the reference picture shows Wine's fonts and metrics";
  }
  SkinForm f;
  ASSERT_TRUE(f.attached);
  struct Extra {  // children added here, unskinned and gone before the form
    std::vector<HWND> windows;
    ~Extra() { for (HWND w : windows) skin::UnskinWindow(w), DestroyWindow(w); }
  } extra;
  auto add = [&](const wchar_t* cls, DWORD style, int x, int y, int w, LONG_PTR data) {
    HWND child = CreateChild(f.form, cls, style, 0, x, y, w, 20);
    SetWindowLongPtrW(child, GWLP_USERDATA, data);
    skin::SkinWindow(child);
    extra.windows.push_back(child);
    return child;
  };
  using skin::VisualState;
  const struct { VisualState state; LONG_PTR check; DWORD style; } marks[] = {
      {VisualState::Normal, 0, 0}, {VisualState::Hot, 0, 0}, {VisualState::Pressed, 0, 0},
      {VisualState::Normal, 0, WS_DISABLED}, {VisualState::Normal, BST_CHECKED, 0},
      {VisualState::Normal, BST_CHECKED, WS_DISABLED}, {VisualState::Hot, BST_INDETERMINATE, 0},
      {VisualState::Pressed, BST_INDETERMINATE, WS_DISABLED}};
  std::vector<std::pair<HWND, VisualState>> options, checks;
  for (int i = 0; i < 8; ++i) {
    const auto& m = marks[i];
    options.emplace_back(add(L"ThunderRT6OptionButton", m.style, 240 + 24 * i, 175, 20, m.check), m.state);
    checks.emplace_back(add(L"ThunderRT6CheckBox", m.style, 240 + 24 * i, 200, 20, m.check), m.state);
  }
  HWND header = add(WC_HEADERW, HDS_HORZ, 240, 230, 180, 0);
  HDITEMW item = {};
  item.mask = HDI_WIDTH, item.cxy = 60;
  for (int i = 0; i < 3; ++i) SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  skin::SetSkinProp(header, skin::prop::kHeaderHotIndex, 1);
  skin::SetSkinProp(header, skin::prop::kHeaderDownIndex, 2);
  skin::SetSkinProp(f.listCombo, skin::prop::kOldState, 1);
  skin::SetSkinProp(f.editCombo, skin::prop::kOldState, 2);
  EnableWindow(f.driveList, FALSE);
  SetWindowLongPtrW(f.progress, GWLP_USERDATA, 15000);
  Repaint(f.form);
  for (const auto& [window, state] : options) skin::PaintOptionButton(window, state, true);
  for (const auto& [window, state] : checks) skin::PaintCheckBox(window, state, true);

  const look::Picture seen = WindowPixels(f.form);
  const std::wstring reference = SKIN_FORM_REFERENCE;
  if (look::Renewing()) {
    EXPECT_TRUE(look::SavePng(reference, seen)) << reference;
    return;
  }
  look::Picture want;
  ASSERT_TRUE(look::LoadPng(reference, want)) << reference;
  // Text: the system-drawn check button, the skinned captions, the header's titles.
  std::vector<RECT> text = {look::InWindow(f.form, f.checkStyle, {0, 0, 75, 23})};
  for (HWND b : {f.push, f.second, f.disabled}) text.push_back(look::InWindow(f.form, b, look::ButtonCaptionZone(b)));
  for (int i = 0; i < 2; ++i) {
    RECT item = {};
    SendMessageW(f.header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
    text.push_back(look::InWindow(f.form, f.header, look::CentredTextZone(f.header, skin::HeaderItemText(f.header, i), item)));
  }
  const look::Difference d = look::Compare(want, seen, text);
  if (d.pixels == 0) return;
  look::SavePng(L"skin_form-seen.png", seen);
  look::SavePng(L"skin_form-diff.png", d.picture);
  ADD_FAILURE() << "the form differs from its reference in " << look::DescribeIn(d, {0, 0, want.width, want.height})
                << " (form coordinates; seen: skin_form-seen.png, differences: skin_form-diff.png beside the test)";
}

TEST(SkinClassification, ClassNames) {
  using skin::ControlKind;
  const struct { const wchar_t* name; ControlKind kind; } table[] = {
      {L"#32770", ControlKind::Form}, {L"ThunderFormDC", ControlKind::Form}, {L"Form", ControlKind::Form},
      {L"thunderrt6commandbutton", ControlKind::CommandButton}, {L"BUTTON", ControlKind::CommandButton},
      {L"ThunderRT6ComboBox", ControlKind::ComboBox}, {L"combo", ControlKind::ComboBox},
      {L"ThunderRT6DriveListBox", ControlKind::DriveList}, {L"ThunderRT6CheckBox", ControlKind::CheckBox},
      {L"ThunderOptionButton", ControlKind::OptionButton}, {L"ProgressBarWndClass", ControlKind::ProgressBar},
      {L"msvb_lib_header", ControlKind::Header}, {L"SysHeader32", ControlKind::Header},
      {L"DBListWndClass", ControlKind::DataList}, {L"ComboLBox", ControlKind::ComboList},
      {L"apexgridOleDB32", ControlKind::Grid}, {L"myapexgrid", ControlKind::Other},
      {L" button", ControlKind::Other}, {L"Edit", ControlKind::Other}, {L"", ControlKind::Other}};
  for (const auto& row : table) EXPECT_EQ(skin::ClassifyClassName(row.name), row.kind) << row.name[0];
}

}  // namespace
