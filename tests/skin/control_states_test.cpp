// Check boxes, option buttons, combo boxes, drive lists and headers under the
// pointer and the keyboard; the hit tests; the refresh after a release.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "interaction_fixture.h"
#include "skin/core/window_props.h"
#include "skin/interaction/hit_tests.h"
#include "skin/render/round_half_even.h"

namespace {

using skin::prop::kHeaderDownIndex;
using skin::prop::kHeaderHotIndex;
using skin::prop::kMouseFlag;
using skin::prop::kOldState;

constexpr COLORREF Rgb(unsigned rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFrame = 0x00D5A554;
constexpr COLORREF kPressedFrame = 0x00C48639;
constexpr COLORREF kScribble = RGB(1, 2, 3);
constexpr COLORREF kHeaderNormal = Rgb(0xE9F4FE);  // item face, first column, row 1
constexpr COLORREF kHeaderHot = Rgb(0xA7DEFC);
constexpr COLORREF kHeaderPressed = Rgb(0x7ECEFA);
constexpr COLORREF kComboHot = Rgb(0xC1EEFD);  // button face at (left + 5, 2)
constexpr COLORREF kComboPressed = Rgb(0x61B5E2);

TEST(SkinHitTests, MousePointAndComboButtonZone) {
  EXPECT_EQ(skin::GetLParamX(ClientPoint(-5, 7)), -5);
  EXPECT_EQ(skin::GetLParamY(ClientPoint(-5, 7)), 7);
  EXPECT_EQ(skin::GetLParamY(ClientPoint(3, -32768)), -32768);
  EXPECT_EQ(skin::GetLParamX(static_cast<LPARAM>(0x7FFF7FFF)), 32767);

  // 121 x 21 with a 17-pixel scroll bar: x 102..119 and y 2..19, edges included.
  for (int x : {102, 119}) EXPECT_TRUE(skin::InComboButtonZone(121, 21, 17, x, 10)) << x;
  for (int x : {101, 120}) EXPECT_FALSE(skin::InComboButtonZone(121, 21, 17, x, 10)) << x;
  for (int y : {2, 19}) EXPECT_TRUE(skin::InComboButtonZone(121, 21, 17, 110, y)) << y;
  for (int y : {1, 20}) EXPECT_FALSE(skin::InComboButtonZone(121, 21, 17, 110, y)) << y;
}

class ControlStates : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(f.attached); }
  InteractionForm f;
};

// Box frame and a pixel inside the box of a check box 20 pixels high.
struct CheckBoxPixels {
  explicit CheckBoxPixels(HWND box) {
    const int top = skin::RoundHalfEven((20 - GetSystemMetrics(SM_CYMENUCHECK)) / 2.0);
    WindowPixels shown(box);
    frame = shown.At(0, top);
    inside = shown.At(1, top + 1);
  }
  COLORREF frame;
  COLORREF inside;
};

TEST_F(ControlStates, CheckBoxesAndOptionButtonsFollowPointerKeysAndSiblings) {
  HWND check = f.ui.checkBox;
  HWND option = f.ui.optionButton;

  // Every move redraws the box, hot without the button, pressed with it.
  SendMessageW(check, WM_MOUSEMOVE, 0, ClientPoint(3, 3));
  EXPECT_EQ(Prop(check, kMouseFlag), 1);
  EXPECT_EQ(Prop(check, kOldState), 1);
  Scribble(check, kScribble);
  SendMessageW(check, WM_MOUSEMOVE, 0, ClientPoint(4, 3));
  CheckBoxPixels hot(check);
  EXPECT_EQ(hot.frame, kFrame);
  EXPECT_NE(hot.inside, kWhite);
  EXPECT_NE(hot.inside, kScribble);
  SendMessageW(check, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(4, 3));
  EXPECT_EQ(Prop(check, kOldState), 2);
  EXPECT_EQ(CheckBoxPixels(check).frame, kPressedFrame);

  // Button down presses, button up releases to Normal.
  SendMessageW(check, WM_LBUTTONUP, 0, ClientPoint(4, 3));
  EXPECT_EQ(Prop(check, kOldState), 0);
  EXPECT_EQ(CheckBoxPixels(check).inside, kWhite);
  SendMessageW(check, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(4, 3));
  EXPECT_EQ(Prop(check, kOldState), 2);
  EXPECT_EQ(CheckBoxPixels(check).frame, kPressedFrame);

  // A double-click draws nothing of its own.
  SendMessageW(check, WM_LBUTTONUP, 0, ClientPoint(4, 3));
  Scribble(check, kScribble);
  SendMessageW(check, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(4, 3));
  EXPECT_EQ(Prop(check, kOldState), 0);
  EXPECT_EQ(WindowPixels(check).At(1, 1), kScribble);
  SendMessageW(option, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(4, 3));
  EXPECT_EQ(Prop(option, kOldState), 0);

  // Space down and up; other keys leave the box alone.
  SendMessageW(check, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Prop(check, kOldState), 0);
  SendMessageW(check, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Prop(check, kOldState), 2);
  SendMessageW(check, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(Prop(check, kOldState), 0);
  SendMessageW(option, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(Prop(option, kOldState), 2);
  SendMessageW(option, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(Prop(option, kOldState), 0);

  // Leaving: Normal and the flag cleared.
  SendMessageW(option, WM_MOUSEMOVE, 0, ClientPoint(3, 3));
  EXPECT_EQ(Prop(option, kOldState), 1);
  EXPECT_EQ(Prop(option, kMouseFlag), 1);
  SendMessageW(option, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Prop(option, kOldState), 0);
  EXPECT_EQ(Prop(option, kMouseFlag), 0);

  // Focus redraws an option button Normal (forced), a check box not at all.
  Scribble(option, kScribble);
  SendMessageW(option, WM_SETFOCUS, 0, 0);
  EXPECT_NE(WindowPixels(option).At(6, 10), kScribble);
  Scribble(check, kScribble);
  SendMessageW(check, WM_SETFOCUS, 0, 0);
  EXPECT_EQ(WindowPixels(check).At(1, 1), kScribble);

  // A release in the text box beside them redraws every check box and option
  // button of the form in Normal, hovered or not.
  SendMessageW(check, WM_MOUSEMOVE, 0, ClientPoint(3, 3));
  SendMessageW(f.secondOption, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(3, 3));
  Scribble(option, kScribble);
  ASSERT_EQ(Prop(check, kOldState), 1);
  ASSERT_EQ(Prop(f.secondOption, kOldState), 2);
  SendMessageW(f.textBox, WM_LBUTTONUP, 0, ClientPoint(3, 3));
  EXPECT_EQ(Prop(check, kOldState), 0);
  EXPECT_EQ(Prop(option, kOldState), 0);
  EXPECT_EQ(Prop(f.secondOption, kOldState), 0);
  EXPECT_EQ(CheckBoxPixels(check).inside, kWhite);
  EXPECT_NE(WindowPixels(option).At(6, 10), kScribble);
  EXPECT_EQ(WindowPixels(option).At(60, 10), kScribble);  // only the face is drawn
}

TEST_F(ControlStates, HeaderPressesAndTracksTheItemUnderThePointer) {
  HWND header = f.wideHeader;
  // Items 0..100 and 100..200: the shared edge belongs to item 0.
  EXPECT_EQ(skin::HitTestHeaderItem(header, 0), 0);
  EXPECT_EQ(skin::HitTestHeaderItem(header, 100), 0);
  EXPECT_EQ(skin::HitTestHeaderItem(header, 101), 1);
  EXPECT_EQ(skin::HitTestHeaderItem(header, 200), 1);
  EXPECT_EQ(skin::HitTestHeaderItem(header, 201), -1);
  EXPECT_EQ(skin::HitTestHeaderItem(header, -1), -1);
  EXPECT_EQ(skin::HitTestHeaderItem(f.emptyHeader, 5), -1);

  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(100, 5));
  EXPECT_EQ(Prop(header, kHeaderDownIndex), 0);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kHeaderPressed);
  SendMessageW(header, WM_LBUTTONUP, 0, ClientPoint(100, 5));  // pointer elsewhere: Hot
  EXPECT_EQ(Prop(header, kHeaderDownIndex), -1);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kHeaderHot);

  // Past the last item: nothing pressed, nothing drawn.
  Scribble(header, kScribble);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(201, 5));
  EXPECT_EQ(Prop(header, kHeaderDownIndex), -1);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kScribble);
  SendMessageW(header, WM_LBUTTONUP, 0, ClientPoint(201, 5));
  RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  // A header without items keeps its pressed index on down and double-click.
  skin::SetSkinProp(f.emptyHeader, kHeaderDownIndex, 1);
  SendMessageW(f.emptyHeader, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
  SendMessageW(f.emptyHeader, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(5, 5));
  EXPECT_EQ(Prop(f.emptyHeader, kHeaderDownIndex), 1);
  skin::SetSkinProp(f.emptyHeader, kHeaderDownIndex, -1);

  // Hot tracking: the hot item moves with the pointer.
  SendMessageW(header, WM_MOUSEMOVE, 0, ClientPoint(50, 5));
  EXPECT_EQ(Prop(header, kMouseFlag), 1);
  EXPECT_EQ(Prop(header, kHeaderHotIndex), 0);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kHeaderHot);
  SendMessageW(header, WM_MOUSEMOVE, 0, ClientPoint(150, 5));
  EXPECT_EQ(Prop(header, kHeaderHotIndex), 1);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kHeaderNormal);
  EXPECT_EQ(WindowPixels(header).At(100, 1), kHeaderHot);

  // Held button: the pressed item keeps its face, nothing becomes hot.
  SendMessageW(header, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(150, 5));
  EXPECT_EQ(Prop(header, kHeaderDownIndex), 1);
  EXPECT_EQ(WindowPixels(header).At(100, 1), kHeaderPressed);
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(50, 5));
  EXPECT_EQ(Prop(header, kHeaderHotIndex), 1);
  EXPECT_EQ(WindowPixels(header).At(100, 1), kHeaderPressed);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kHeaderNormal);

  // Released over the header: the item is drawn Normal.
  CursorOver(header);
  SendMessageW(header, WM_LBUTTONUP, 0, ClientPoint(150, 5));
  EXPECT_EQ(Prop(header, kHeaderDownIndex), -1);
  EXPECT_EQ(WindowPixels(header).At(100, 1), kHeaderNormal);

  // Leaving clears both indexes and draws the old hot item Normal.
  skin::SetSkinProp(header, kHeaderHotIndex, 0);
  skin::SetSkinProp(header, kHeaderDownIndex, 1);
  SendMessageW(header, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Prop(header, kMouseFlag), 0);
  EXPECT_EQ(Prop(header, kHeaderHotIndex), -1);
  EXPECT_EQ(Prop(header, kHeaderDownIndex), -1);
  EXPECT_EQ(WindowPixels(header).At(0, 1), kHeaderNormal);
  ParkCursor();
}

TEST_F(ControlStates, ComboButtonsPressInTheirZoneAndFollowThePointer) {
  HWND editable = f.editableCombo;
  HWND list = f.ui.listCombo;
  HWND drive = f.ui.driveList;
  RecordPreviousProcedure(editable, {WM_LBUTTONDOWN});
  RecordPreviousProcedure(list, {WM_LBUTTONDOWN});
  const SIZE size = WindowSize(editable);
  const int c = GetSystemMetrics(SM_CXVSCROLL);
  const int left = size.cx - (c + 1) - 1;

  // Outside the zone of an editable combo: passed on, nothing drawn.
  const LRESULT result =
      SendMessageW(editable, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(size.cx - c - 3, 5));
  EXPECT_EQ(result, kSwallowedResult);
  EXPECT_EQ(RecordedMessages(editable), std::vector<UINT>{WM_LBUTTONDOWN});
  EXPECT_EQ(Prop(editable, kOldState), 0);
  EXPECT_EQ(WindowPixels(editable).At(left + 5, 2), kWhite);
  // On the zone's edges: pressed.
  SendMessageW(editable, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(size.cx - c - 2, 2));
  EXPECT_EQ(Prop(editable, kOldState), 2);
  EXPECT_EQ(WindowPixels(editable).At(left + 5, 2), kComboPressed);
  skin::SetSkinProp(editable, kOldState, 0);
  SendMessageW(editable, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(size.cx - 2, size.cy - 2));
  EXPECT_EQ(Prop(editable, kOldState), 2);

  // Moves: Normal outside the zone, Hot or Pressed inside.
  SendMessageW(editable, WM_MOUSEMOVE, 0, ClientPoint(5, 5));
  EXPECT_EQ(Prop(editable, kMouseFlag), 1);
  EXPECT_EQ(Prop(editable, kOldState), 0);
  SendMessageW(editable, WM_MOUSEMOVE, 0, ClientPoint(size.cx - 5, 5));
  EXPECT_EQ(Prop(editable, kOldState), 1);
  EXPECT_EQ(WindowPixels(editable).At(left + 5, 2), kComboHot);
  // Only a change of state is drawn.
  Scribble(editable, kScribble);
  SendMessageW(editable, WM_MOUSEMOVE, 0, ClientPoint(size.cx - 6, 5));
  EXPECT_EQ(WindowPixels(editable).At(left + 5, 2), kScribble);
  SendMessageW(editable, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(size.cx - 6, 5));
  EXPECT_EQ(Prop(editable, kOldState), 2);
  RedrawWindow(editable, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);

  // A drop-down list is pressed anywhere; released with the pointer away: Normal.
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
  EXPECT_EQ(Prop(list, kOldState), 2);
  SendMessageW(list, WM_LBUTTONUP, 0, ClientPoint(5, 5));
  EXPECT_EQ(Prop(list, kOldState), 0);
  // Released with the pointer over it: Hot.
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
  CursorOver(list);
  SendMessageW(list, WM_LBUTTONUP, 0, ClientPoint(5, 5));
  EXPECT_EQ(Prop(list, kOldState), 1);
  ParkCursor();
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(5, 5));
  EXPECT_EQ(Prop(list, kOldState), 1);  // double-click: passed on only

  // Drive list: pressed, hot, pressed by the button flag, normal on leave.
  SendMessageW(drive, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
  EXPECT_EQ(Prop(drive, kOldState), 2);
  SendMessageW(drive, WM_MOUSEMOVE, 0, ClientPoint(5, 5));
  EXPECT_EQ(Prop(drive, kOldState), 1);
  EXPECT_EQ(Prop(drive, kMouseFlag), 1);
  SendMessageW(drive, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(5, 5));
  EXPECT_EQ(Prop(drive, kOldState), 2);
  SendMessageW(drive, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Prop(drive, kOldState), 0);
  EXPECT_EQ(Prop(drive, kMouseFlag), 0);
}

}  // namespace
