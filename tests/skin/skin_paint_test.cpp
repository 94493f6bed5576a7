// What the skinned controls show, pixel by pixel, after the paint and frame
// handlers and the painters have run on real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "skin/clsSkinner.h"
#include "skin/core/engine_state.h"
#include "skin/core/nc_paint.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/check_option_painters.h"
#include "skin/render/combo_button_painter.h"
#include "skin/render/header_item_painter.h"
#include "skin/render/round_half_even.h"
#include "skin_test_form.h"

namespace {

// Colours as the skin's tables give them, red first.
constexpr COLORREF Rgb(unsigned rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}
constexpr COLORREF kFrame = 0x00D5A554;
constexpr COLORREF kDisabledFrame = 0x00E9CFA4;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBar = 0x00F6D64C;
constexpr COLORREF kButtonBorder = Rgb(0x1B8FD5);
constexpr COLORREF kDisabledButtonBorder = Rgb(0x87C3E8);
constexpr COLORREF kArrow = Rgb(0x19555F);
constexpr COLORREF kDisabledArrow = Rgb(0x84A5AC);

int Round(double v) { return skin::RoundHalfEven(v); }

class SkinPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ui.form, nullptr);
    ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
    PumpAndPaint(ui.form);
  }
  void TearDown() override { skinner.DetachSkin(ui.form); }

  void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
    PumpAndPaint(ui.form);
  }
  void SetValue(HWND window, LONG_PTR value) {
    SetWindowLongPtrW(window, GWLP_USERDATA, value);
    Repaint(window);
  }

  SkinTestForm ui;
  skin::clsSkinner skinner;
};

TEST_F(SkinPaint, CommandButtonsShowTheirStateImage) {
  WindowPixels push(ui.pushButton);
  EXPECT_EQ(push.At(0, 11), kButtonBorder);
  EXPECT_EQ(push.At(37, 0), kButtonBorder);
  EXPECT_EQ(push.At(37, 1), kWhite);
  EXPECT_EQ(push.At(37, 22), kButtonBorder);
  EXPECT_EQ(push.At(1, 3), Rgb(0xF5FAFD));  // face row 3, column 1

  WindowPixels disabled(ui.disabledButton);
  EXPECT_EQ(disabled.At(0, 11), kDisabledButtonBorder);
  EXPECT_EQ(disabled.At(37, 0), kDisabledButtonBorder);

  // A repaint shows the state image whole and ends a running fade.
  skin::StartFadeTimer(ui.pushButton);
  EXPECT_NE(skin::GetSkinProp(ui.pushButton, skin::prop::kTimerId), 0);
  skin::SetSkinProp(ui.pushButton, skin::prop::kOldState, 1);
  skin::SetSkinProp(ui.pushButton, skin::prop::kAlphaLevel, 0);
  Repaint(ui.pushButton);
  EXPECT_EQ(skin::GetSkinProp(ui.pushButton, skin::prop::kTimerId), 0);
  EXPECT_EQ(skin::GetSkinProp(ui.pushButton, skin::prop::kAlphaLevel), 255);
  EXPECT_EQ(WindowPixels(ui.pushButton).At(1, 3), Rgb(0x46C1FB));  // hot face row 3, column 1

  // Disabling while skinned: the next paint blends the disabled image.
  EnableWindow(ui.pushButton, FALSE);
  Repaint(ui.pushButton);
  EXPECT_EQ(skin::GetSkinProp(ui.pushButton, skin::prop::kOldState), 3);
  EXPECT_EQ(WindowPixels(ui.pushButton).At(0, 11), kDisabledButtonBorder);

  // A check-style system button keeps its own painting.
  EXPECT_NE(WindowPixels(ui.checkStyleButton).At(0, 11), kButtonBorder);
}

TEST_F(SkinPaint, SunkenEditsGetTheFlatBlueBorder) {
  WindowPixels edit(ui.sunkenEdit);
  const int w = edit.width();
  const int h = edit.height();
  EXPECT_EQ(edit.At(0, 0), kFrame);
  EXPECT_EQ(edit.At(w - 1, h - 1), kFrame);
  EXPECT_EQ(edit.At(0, 12), kFrame);
  EXPECT_EQ(edit.At(50, 0), kFrame);
  // Two background lines left and top, one right and bottom (white DC default).
  for (int d : {1, 2}) {
    EXPECT_EQ(edit.At(d, 12), kWhite) << d;
    EXPECT_EQ(edit.At(50, d), kWhite) << d;
  }
  EXPECT_EQ(edit.At(w - 2, 12), kWhite);
  EXPECT_EQ(edit.At(50, h - 2), kWhite);

  int bx = 0, by = 0;
  EXPECT_TRUE(skin::GetBorderSize(ui.scrollEdit, bx, by));
  EXPECT_EQ(bx, 2);
  EXPECT_EQ(by, 2);
  EXPECT_EQ(WindowPixels(ui.scrollEdit).At(0, 20), kFrame);

  // Without the sunken edge the control's own frame stays.
  EXPECT_NE(WindowPixels(ui.borderEdit).At(0, 12), kFrame);

  EnableWindow(ui.sunkenEdit, FALSE);
  SendMessageW(ui.sunkenEdit, WM_NCPAINT, 1, 0);
  EXPECT_EQ(WindowPixels(ui.sunkenEdit).At(0, 12), kDisabledFrame);
}

// The drop-down button of a combo: left edge of the button, arrow centre.
struct ComboButtonGeometry {
  explicit ComboButtonGeometry(HWND combo) {
    const SIZE size = WindowSize(combo);
    bw = GetSystemMetrics(SM_CXVSCROLL) + 1;
    left = size.cx - bw - 1;
    arrowX = left + Round((bw - 7) / 2.0);
    arrowY = 1 + Round((size.cy - 6) / 2.0);
  }
  int bw, left, arrowX, arrowY;
};

TEST_F(SkinPaint, ComboBoxesAndDriveListsGetFrameAndButton) {
  for (HWND combo : {ui.dropDownCombo, ui.listCombo, ui.driveList}) {
    WindowPixels shown(combo);
    ComboButtonGeometry g(combo);
    EXPECT_EQ(shown.At(0, 0), kFrame) << combo;
    EXPECT_EQ(shown.At(shown.width() - 1, 5), kFrame) << combo;
    EXPECT_EQ(shown.At(g.arrowX + 3, g.arrowY), kArrow) << combo;
    EXPECT_EQ(shown.At(g.arrowX + 3, g.arrowY + 3), kArrow) << combo;
    EXPECT_EQ(shown.At(g.arrowX, g.arrowY + 1), kWhite) << combo;
    EXPECT_EQ(shown.At(g.left + 1, 2), kWhite) << combo;
  }
  // Drawn over their own painting: the white inner frame line.
  EXPECT_EQ(WindowPixels(ui.listCombo).At(1, 5), kWhite);
  EXPECT_EQ(WindowPixels(ui.driveList).At(1, 5), kWhite);
  EXPECT_EQ(WindowPixels(ui.driveList).At(5, 5), kControlGrey);

  // A simple combo box has no button; painting one changes nothing there.
  EXPECT_EQ(WindowPixels(ui.simpleCombo).At(0, 0), kFrame);
  skin::SetSkinProp(ui.simpleCombo, skin::prop::kOldState, 1);
  skin::VisualState state = skin::VisualState::Pressed;
  skin::PaintComboButton(ui.simpleCombo, nullptr, state, true);
  EXPECT_EQ(skin::GetSkinProp(ui.simpleCombo, skin::prop::kOldState), 1);

  // Hot and pressed faces; a repeated state is skipped unless forced.
  ComboButtonGeometry g(ui.listCombo);
  state = skin::VisualState::Hot;
  skin::PaintComboButton(ui.listCombo, nullptr, state, false);
  EXPECT_EQ(WindowPixels(ui.listCombo).At(g.left + 5, 2), Rgb(0xC1EEFD));
  EXPECT_EQ(WindowPixels(ui.listCombo).At(g.left, 5), Rgb(0x4EA0D1));
  state = skin::VisualState::Pressed;
  skin::PaintComboButton(ui.listCombo, nullptr, state, false);
  EXPECT_EQ(WindowPixels(ui.listCombo).At(g.left + 5, 2), Rgb(0x61B5E2));
  EXPECT_EQ(skin::GetSkinProp(ui.listCombo, skin::prop::kOldState), 2);

  // While the list is open the button is pressed, whatever is asked.
  SendMessageW(ui.listCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
  SendMessageW(ui.listCombo, CB_SHOWDROPDOWN, TRUE, 0);
  state = skin::VisualState::Normal;
  skin::PaintComboButton(ui.listCombo, nullptr, state, true);
  EXPECT_EQ(state, skin::VisualState::Pressed);
  EXPECT_EQ(WindowPixels(ui.listCombo).At(g.left + 5, 2), Rgb(0x61B5E2));
  SendMessageW(ui.listCombo, CB_SHOWDROPDOWN, FALSE, 0);

  // Moving the combo brings the button back to rest.
  SetWindowPos(ui.listCombo, nullptr, 212, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(skin::GetSkinProp(ui.listCombo, skin::prop::kOldState), 0);

  EnableWindow(ui.driveList, FALSE);
  Repaint(ui.driveList);
  ComboButtonGeometry d(ui.driveList);
  WindowPixels drive(ui.driveList);
  EXPECT_EQ(drive.At(0, 0), kDisabledFrame);
  EXPECT_EQ(drive.At(d.arrowX + 3, d.arrowY), kDisabledArrow);
}

TEST_F(SkinPaint, CheckBoxShowsBoxAndMarkForEveryValue) {
  const int cx = GetSystemMetrics(SM_CXMENUCHECK);
  const int cy = GetSystemMetrics(SM_CYMENUCHECK);
  const int top = Round((20 - cy) / 2.0);
  const int mx = Round((cx - 9) / 2.0);
  const int my = top + Round((cy - 8) / 2.0);

  WindowPixels unchecked(ui.checkBox);
  EXPECT_EQ(unchecked.At(0, top), kFrame);
  EXPECT_EQ(unchecked.At(cx - 1, top + cy - 1), kFrame);
  EXPECT_EQ(unchecked.At(mx + 8, my), kWhite);
  EXPECT_EQ(unchecked.At(cx + 5, 10), kControlGrey);
  EXPECT_EQ(unchecked.At(0, top - 1), kControlGrey);

  SetValue(ui.checkBox, BST_CHECKED);
  WindowPixels checked(ui.checkBox);
  EXPECT_EQ(checked.At(mx + 8, my), Rgb(0x54B71D));
  EXPECT_EQ(checked.At(mx, my + 3), Rgb(0x48A913));
  EXPECT_EQ(checked.At(mx, my), kWhite);  // key colour around the mark

  SetValue(ui.checkBox, BST_INDETERMINATE);
  const int sx = Round((cx - 7) / 2.0);
  const int sy = top + Round((cy - 7) / 2.0);
  EXPECT_EQ(WindowPixels(ui.checkBox).At(sx, sy), Rgb(0x51B41B));

  // Same state without force: skipped; another state: painted and stored.
  EXPECT_EQ(skin::PaintCheckBox(ui.checkBox, skin::VisualState::Normal, false), 0);
  EXPECT_EQ(skin::PaintCheckBox(ui.checkBox, skin::VisualState::Pressed, false), 1);
  EXPECT_EQ(skin::GetSkinProp(ui.checkBox, skin::prop::kOldState), 2);
  EXPECT_EQ(skin::PaintCheckBox(ui.checkBox, skin::VisualState::Pressed, false), 0);
  WindowPixels pressed(ui.checkBox);
  EXPECT_EQ(pressed.At(0, top), Rgb(0x3986C4));
  EXPECT_NE(pressed.At(1, top + 1), kWhite);
  EXPECT_EQ(skin::PaintCheckBox(ui.checkBox, skin::VisualState::Hot, false), 1);
  EXPECT_EQ(WindowPixels(ui.checkBox).At(0, top), kFrame);
  EXPECT_NE(WindowPixels(ui.checkBox).At(1, top + 1), kWhite);

  SetWindowLongPtrW(ui.checkBox, GWLP_USERDATA, BST_CHECKED);
  EnableWindow(ui.checkBox, FALSE);
  Repaint(ui.checkBox);
  WindowPixels disabled(ui.checkBox);
  EXPECT_EQ(disabled.At(0, top), kDisabledFrame);
  EXPECT_EQ(disabled.At(mx + 8, my), Rgb(0xA8DA8C));
}

TEST_F(SkinPaint, OptionButtonShowsRoundFaceAndDot) {
  const int cy = GetSystemMetrics(SM_CYMENUCHECK);
  const int cx = GetSystemMetrics(SM_CXMENUCHECK);
  const int top = Round((20 - cy) / 2.0);
  WindowPixels normal(ui.optionButton);
  EXPECT_EQ(normal.At(4, top), Rgb(0x95B3D9));  // corner piece, row 0
  EXPECT_EQ(normal.At(0, top), kControlGrey);   // transparent corner
  EXPECT_EQ(normal.At(0, top + 4), Rgb(0x95B3D9));

  SetValue(ui.optionButton, BST_CHECKED);
  const int dx = Round((cx - 5) / 2.0);
  const int dy = Round((cy - 5) / 2.0 + top);
  EXPECT_EQ(WindowPixels(ui.optionButton).At(dx + 2, dy + 2), Rgb(0x47A812));
  EXPECT_EQ(skin::PaintOptionButton(ui.optionButton, skin::VisualState::Normal, false), 0);
  EXPECT_EQ(skin::PaintOptionButton(ui.optionButton, skin::VisualState::Pressed, false), 1);
  EXPECT_EQ(WindowPixels(ui.optionButton).At(4, top), Rgb(0x7699CA));

  // An enabled button asked for the disabled state draws no face.
  {
    HDC dc = GetWindowDC(ui.optionButton);
    RECT all = {0, 0, 100, 20};
    HBRUSH brush = CreateSolidBrush(kControlGrey);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(ui.optionButton, dc);
  }
  EXPECT_EQ(skin::PaintOptionButton(ui.optionButton, skin::VisualState::Disabled, true), 1);
  EXPECT_EQ(WindowPixels(ui.optionButton).At(4, top), kControlGrey);

  EnableWindow(ui.optionButton, FALSE);
  Repaint(ui.optionButton);
  WindowPixels disabled(ui.optionButton);
  EXPECT_EQ(disabled.At(4, top), Rgb(0xCAD9EC));
  EXPECT_EQ(disabled.At(dx + 2, dy + 2), Rgb(0xA3D388));
}

TEST_F(SkinPaint, ProgressBarIsPaintedWholeFromItsPosition) {
  // 103 x 20 with a one-pixel border: client 101 x 18 at (1, 1).
  WindowPixels empty(ui.progressBar);
  EXPECT_EQ(empty.At(0, 0), kFrame);
  EXPECT_EQ(empty.At(102, 19), kFrame);
  EXPECT_EQ(empty.At(1, 10), kWhite);
  EXPECT_EQ(empty.At(101, 10), kWhite);

  SetValue(ui.progressBar, 15000);
  WindowPixels half(ui.progressBar);
  EXPECT_EQ(half.At(1, 10), kBar);
  EXPECT_EQ(half.At(50, 10), kBar);    // client column 49
  EXPECT_EQ(half.At(51, 10), kWhite);  // round(50.5) = 50 columns
  EXPECT_EQ(half.At(0, 10), kFrame);

  SetValue(ui.progressBar, 40000);
  WindowPixels over(ui.progressBar);
  EXPECT_EQ(over.At(101, 10), kBar);
  EXPECT_EQ(over.At(102, 10), kFrame) << "bar drawn over the frame";
  EXPECT_EQ(over.At(50, 19), kFrame);

  SetWindowLongPtrW(ui.progressBar, GWL_STYLE,
                    GetWindowLongPtrW(ui.progressBar, GWL_STYLE) | PBS_VERTICAL | PBS_SMOOTH);
  SetValue(ui.progressBar, 15000);
  WindowPixels vertical(ui.progressBar);
  EXPECT_EQ(vertical.At(50, 9), kWhite);  // client rows 0..8 white
  EXPECT_EQ(vertical.At(50, 10), kBar);   // rows 9..17 filled
  EXPECT_EQ(vertical.At(50, 18), kBar);
  SetValue(ui.progressBar, 30000);
  EXPECT_EQ(WindowPixels(ui.progressBar).At(50, 1), kBar);
}

TEST_F(SkinPaint, HeaderItemsShowTheirFaces) {
  // Items 0..59 and 60..109; the background column right of them.
  WindowPixels shown(ui.header);
  EXPECT_EQ(shown.At(150, 5), Rgb(0xE2F0FC));
  EXPECT_EQ(shown.At(150, 19), Rgb(0xC0DAF2));
  EXPECT_EQ(shown.At(0, 5), Rgb(0xECF5FD));
  EXPECT_EQ(shown.At(59, 5), Rgb(0xAED1EB));
  EXPECT_EQ(shown.At(60, 1), Rgb(0xE9F4FE));
  EXPECT_EQ(shown.At(2, 1), Rgb(0xE9F4FE));

  skin::SetSkinProp(ui.header, skin::prop::kHeaderHotIndex, 1);
  skin::SetSkinProp(ui.header, skin::prop::kHeaderDownIndex, 0);
  Repaint(ui.header);
  WindowPixels marked(ui.header);
  EXPECT_EQ(marked.At(0, 1), Rgb(0x7ECEFA));   // pressed face
  EXPECT_EQ(marked.At(60, 1), Rgb(0xA7DEFC));  // hot face
  skin::SetSkinProp(ui.header, skin::prop::kHeaderHotIndex, 0);
  Repaint(ui.header);
  EXPECT_EQ(WindowPixels(ui.header).At(0, 1), Rgb(0x7ECEFA));  // pressed wins over hot

  EXPECT_EQ(skin::PaintHeaderItem(ui.header, nullptr, -1, skin::VisualState::Hot), 0);
  EXPECT_EQ(WindowPixels(ui.header).At(0, 1), Rgb(0x7ECEFA));
  skin::PaintHeaderItem(ui.header, nullptr, 1, skin::VisualState::Pressed);
  EXPECT_EQ(WindowPixels(ui.header).At(60, 1), Rgb(0x7ECEFA));
  skin::PaintHeaderItem(ui.header, nullptr, 1, skin::VisualState::Normal);
  EXPECT_EQ(WindowPixels(ui.header).At(60, 1), Rgb(0xE9F4FE));

  EXPECT_EQ(skin::HeaderItemText(ui.header, 0), L"名称");
  SendMessageW(ui.header, HDM_DELETEITEM, 1, 0);
  SendMessageW(ui.header, HDM_DELETEITEM, 0, 0);
  Repaint(ui.header);
  EXPECT_EQ(WindowPixels(ui.header).At(30, 5), Rgb(0xE2F0FC));
}

TEST_F(SkinPaint, HeaderTextIsReadWithinItsBuffer) {
  std::wstring longTitle(300, L'x');
  HDITEMW item = {};
  item.mask = HDI_TEXT | HDI_WIDTH;
  item.pszText = longTitle.data();
  item.cxy = 40;
  SendMessageW(ui.header, HDM_INSERTITEMW, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(skin::HeaderItemText(ui.header, 2), std::wstring(255, L'x'));
  EXPECT_EQ(skin::HeaderItemText(ui.header, 7), L"");
}

TEST_F(SkinPaint, ListsAndGridsGetTheirFrames) {
  WindowPixels grid(ui.grid);
  EXPECT_EQ(grid.At(0, 0), kFrame);
  EXPECT_EQ(grid.At(59, 29), kFrame);
  EXPECT_EQ(grid.At(1, 1), kControlGrey);
  EXPECT_EQ(WindowPixels(ui.borderlessGrid).At(0, 0), kControlGrey);

  WindowPixels list(ui.dataList);
  EXPECT_EQ(list.At(0, 0), kFrame);
  EXPECT_EQ(list.At(1, 1), kWhite);

  // A data list's own frame painting is not touched by the frame handler:
  // it matches an unskinned twin's.
  HWND twin = CreateChild(ui.form, L"DataListWndClass", 0, WS_EX_CLIENTEDGE, 220, 235, 60, 30);
  PumpAndPaint(ui.form);
  SendMessageW(ui.dataList, WM_NCPAINT, 1, 0);
  SendMessageW(twin, WM_NCPAINT, 1, 0);
  WindowPixels skinned(ui.dataList);
  WindowPixels plain(twin);
  for (int d = 0; d < 2; ++d) EXPECT_EQ(skinned.At(d, 15), plain.At(d, 15)) << d;
  EXPECT_NE(skinned.At(0, 15), kFrame);
  DestroyWindow(twin);
}

}  // namespace
