// What the skin draws: the image tables, every kind of control on a real
// form in its states, read back pixel by pixel; which class is which kind.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <set>
#include <vector>

#include "skin/core/control_kind.h"
#include "skin/core/engine_state.h"
#include "skin/core/skin_window.h"
#include "skin/core/window_props.h"
#include "skin/render/button_image_sets.h"
#include "skin/render/button_state_surfaces.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/round_half_even.h"
#include "skin/render/skin_images.h"
#include "skin/render/check_option_painters.h"
#include "skin/render/header_item_painter.h"
#include "skin/render/stretch_skin_image.h"
#include "skin_fixture.h"
#include "tests/look/picture.h"

namespace {

constexpr COLORREF kFrame = 0x00D5A554, kDisabledFrame = 0x00E9CFA4, kBar = 0x00F6D64C;
constexpr COLORREF kButtonBorder = Rgb(0x1B8FD5);
int Round(double v) { return skin::RoundHalfEven(v); }

struct Spot {
  const char* what;
  HWND window;
  int x, y;
  COLORREF colour;
};
void ExpectSpots(std::initializer_list<Spot> spots) {
  for (const Spot& s : spots) EXPECT_EQ(WindowPixels(s.window).At(s.x, s.y), s.colour) << s.what;
}

TEST(SkinLook, ImagesHoldTheirTables) {
  skin::SkinImages images = skin::BuildSkinImages();
  const struct { HDC image; int x, y; unsigned rgb; } table[] = {
      {images.buttonFace, 0, 0, 0xBFE1F9}, {images.buttonFace, 1, 1, 0x7EC0E7},
      {images.buttonFace, 3, 1, 0xFFFFFF}, {images.buttonFace, 1, 3, 0xF5FAFD},
      {images.buttonFace, 1, 24, 0x46C1FB},
      {images.comboButton, 8, 8, 0xFF00FF}, {images.mark, 8, 0, 0x54B71D},
      {images.mark, 0, 3, 0x48A913}, {images.optionFace, 4, 0, 0x95B3D9},
      {images.optionFace, 0, 0, 0xFF00FF}, {images.header, 0, 1, 0xE9F4FE},
      {images.header, 3, 1, 0xA7DEFC}, {images.header, 6, 1, 0x7ECEFA}};
  for (const auto& row : table) {
    EXPECT_EQ(GetPixel(row.image, row.x, row.y), Rgb(row.rgb)) << row.x << "," << row.y;
  }
  // A stretched face keeps its corners and repeats its edges and middle.
  const skin::OwnedMemoryDC surface(skin::CreateMemoryDC(75, 23));
  const HDC dc = surface.get();
  skin::StretchSkinImage(dc, {0, 0, 75, 23}, images.buttonFace, {0, 0, 7, 21}, {3, 3, 3, 3});
  EXPECT_EQ(GetPixel(dc, 0, 0), Rgb(0xBFE1F9));
  EXPECT_EQ(GetPixel(dc, 74, 22), Rgb(0xCAE7FB));
  EXPECT_EQ(GetPixel(dc, 40, 1), kWhite);
  EXPECT_EQ(GetPixel(dc, 0, 10), kButtonBorder);
  skin::ReleaseSkinImages(images);
  EXPECT_EQ(GetObjectType(images.buttonFace), 0u);
}

TEST(SkinLook, EveryKindShowsItsFaceInEveryState) {
  SkinForm f;
  ASSERT_TRUE(f.attached);
  const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
  const int top = Round((20 - cy) / 2.0), mx = Round((cx - 9) / 2.0), my = top + Round((cy - 8) / 2.0);
  const int dx = Round((cx - 5) / 2.0), dy = Round((cy - 5) / 2.0 + top);
  const SIZE combo = {120, 21};
  const int bw = GetSystemMetrics(SM_CXVSCROLL) + 1, left = combo.cx - bw - 1;
  const int ax = left + Round((bw - 7) / 2.0), ay = 1 + Round((combo.cy - 6) / 2.0);
  ExpectSpots({
      {"button border", f.push, 0, 11, kButtonBorder}, {"button top", f.push, 37, 0, kButtonBorder},
      {"button highlight", f.push, 37, 1, kWhite}, {"button face", f.push, 1, 3, Rgb(0xF5FAFD)},
      {"button ring", f.push, 1, 1, Rgb(0x7EC0E7)}, {"button bottom", f.push, 37, 22, kButtonBorder},
      {"disabled button", f.disabled, 0, 11, Rgb(0x87C3E8)},
      {"edit frame", f.sunken, 0, 12, kFrame}, {"edit inside", f.sunken, 2, 12, kWhite},
      {"edit corner", f.sunken, 99, 23, kFrame},
      {"combo frame", f.listCombo, 0, 0, kFrame}, {"combo arrow", f.listCombo, ax + 3, ay, Rgb(0x19555F)},
      {"combo beside arrow", f.listCombo, ax, ay + 1, kWhite}, {"drive list inside", f.driveList, 5, 5, kGrey},
      {"check frame", f.check, 0, top, kFrame}, {"check empty", f.check, mx + 8, my, kWhite},
      {"check caption area", f.check, cx + 5, 10, kGrey}, {"option ring", f.option, 4, top, Rgb(0x95B3D9)},
      {"option corner", f.option, 0, top, kGrey}, {"progress frame", f.progress, 0, 0, kFrame},
      {"progress empty", f.progress, 1, 10, kWhite}, {"header item", f.header, 0, 1, Rgb(0xE9F4FE)},
      {"header item end", f.header, 99, 5, Rgb(0xAED1EB)}, {"header beyond", f.header, 205, 5, Rgb(0xE2F0FC)},
      {"grid frame", f.grid, 59, 29, kFrame}, {"grid inside", f.grid, 1, 1, kGrey},
      {"data list frame", f.dataList, 0, 0, kFrame}});
  EXPECT_NE(WindowPixels(f.checkStyle).At(0, 11), kButtonBorder) << "check-style button drawn by the skin";
  EXPECT_NE(WindowPixels(f.bordered).At(0, 12), kFrame) << "plain border replaced";
  // Captions: black, grey when disabled.
  EXPECT_GT(WindowPixels(f.push).Count(RGB(0, 0, 0)), 3);
  EXPECT_GT(WindowPixels(f.disabled).Count(0x00968A79), 3);

  // States: checked, mixed, pressed, half full, disabled, hot and pressed items.
  SetWindowLongPtrW(f.check, GWLP_USERDATA, BST_CHECKED);
  SetWindowLongPtrW(f.option, GWLP_USERDATA, BST_CHECKED);
  SetWindowLongPtrW(f.progress, GWLP_USERDATA, 15000);
  skin::SetSkinProp(f.header, skin::prop::kHeaderHotIndex, 1);
  skin::SetSkinProp(f.header, skin::prop::kHeaderDownIndex, 0);
  EnableWindow(f.sunken, FALSE);
  EnableWindow(f.driveList, FALSE);
  Repaint(f.form);
  ExpectSpots({{"check mark", f.check, mx + 8, my, Rgb(0x54B71D)}, {"mark keyed", f.check, mx, my, kWhite},
               {"option dot", f.option, dx + 2, dy + 2, Rgb(0x47A812)},
               {"progress filled", f.progress, 50, 10, kBar}, {"progress rest", f.progress, 51, 10, kWhite},
               {"pressed header item", f.header, 0, 1, Rgb(0x7ECEFA)},
               {"hot header item", f.header, 100, 1, Rgb(0xA7DEFC)},
               {"disabled edit", f.sunken, 0, 12, kDisabledFrame},
               {"disabled drive list", f.driveList, 0, 0, kDisabledFrame},
               {"disabled arrow", f.driveList, ax + 3, ay, Rgb(0x84A5AC)}});
  SetWindowLongPtrW(f.check, GWLP_USERDATA, BST_INDETERMINATE);
  SetWindowLongPtrW(f.progress, GWLP_USERDATA, 40000);
  SetWindowLongPtrW(f.progress, GWL_STYLE, GetWindowLongPtrW(f.progress, GWL_STYLE) | PBS_VERTICAL);
  EnableWindow(f.option, FALSE);
  Repaint(f.form);
  ExpectSpots({{"mixed square", f.check, Round((cx - 7) / 2.0), top + Round((cy - 7) / 2.0), Rgb(0x51B41B)},
               {"vertical bar full", f.progress, 50, 1, kBar},
               {"disabled option", f.option, 4, top, Rgb(0xCAD9EC)},
               {"disabled dot", f.option, dx + 2, dy + 2, Rgb(0xA3D388)}});
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
  for (int py = 0; py < 23; ++py)
    for (int px = 0; px < 75; ++px) pixels.push_back(GetPixel(skin::ButtonStateSurface(button, state), px, py));
  return pixels;
}
// Pixels of state image `state` that differ between two buttons of one size.
int ImagesDiffer(HWND a, HWND b, int state) {
  const auto x = ImagePixels(a, state), y = ImagePixels(b, state);
  int different = 0;
  for (size_t i = 0; i < x.size(); ++i) different += x[i] != y[i];
  return different;
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
  EXPECT_EQ(WindowPixels(wide).At(79, 11), kButtonBorder);
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
    ~Extra() {
      for (HWND w : windows) skin::UnskinWindow(w), DestroyWindow(w);
    }
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
  for (int i = 0; i < 3; ++i) {
    HDITEMW item = {};
    item.mask = HDI_WIDTH, item.cxy = 60;
    SendMessageW(header, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  skin::SetSkinProp(header, skin::prop::kHeaderHotIndex, 1);
  skin::SetSkinProp(header, skin::prop::kHeaderDownIndex, 2);
  skin::SetSkinProp(f.listCombo, skin::prop::kOldState, 1);
  skin::SetSkinProp(f.editCombo, skin::prop::kOldState, 2);
  EnableWindow(f.driveList, FALSE);
  SetWindowLongPtrW(f.progress, GWLP_USERDATA, 15000);
  Repaint(f.form);
  for (const auto& [window, state] : options) skin::PaintOptionButton(window, state, true);
  for (const auto& [window, state] : checks) skin::PaintCheckBox(window, state, true);

  RECT form = {};
  GetWindowRect(f.form, &form);
  HDC dc = GetWindowDC(f.form);
  const look::Picture seen = look::Grab(dc, 0, 0, form.right - form.left, form.bottom - form.top);
  ReleaseDC(f.form, dc);
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
    const RECT zone = look::CentredTextZone(f.header, skin::HeaderItemText(f.header, i), item);
    text.push_back(look::InWindow(f.form, f.header, zone));
  }
  const look::Difference d = look::Compare(want, seen, text);
  if (d.pixels == 0) return;
  look::SavePng(L"skin_form-seen.png", seen);
  look::SavePng(L"skin_form-diff.png", d.picture);
  ADD_FAILURE() << "the form differs from its reference in " << look::DescribeIn(d, {0, 0, want.width, want.height})
                << " (form coordinates; seen: skin_form-seen.png, differences: skin_form-diff.png beside the test)";
}

TEST(SkinClassification, ClassNamesAndWindows) {
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
  SkinForm f;
  EXPECT_EQ(skin::ClassifyWindow(f.form), ControlKind::Form);
  EXPECT_EQ(skin::ClassifyWindow(f.checkStyle), ControlKind::CommandButton);  // whatever its style
  EXPECT_EQ(skin::ClassifyWindow(f.sunken), ControlKind::Other);
  EXPECT_EQ(skin::ClassifyWindow(nullptr), ControlKind::Other);
}

}  // namespace
