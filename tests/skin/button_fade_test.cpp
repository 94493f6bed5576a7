// Command buttons under the pointer, the keyboard, focus and enable changes,
// and their fade: properties, timer ticks and the pixels drawn.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "interaction_fixture.h"
#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/interaction/mouse_leave.h"
#include "skin/render/button_painter.h"
#include "skin/render/button_state_surfaces.h"

namespace {

using skin::prop::kAlphaLevel;
using skin::prop::kMouseFlag;
using skin::prop::kOldState;
using skin::prop::kTimerId;

constexpr int kNormal = 0;
constexpr int kHot = 1;
constexpr int kPressed = 2;
constexpr int kDisabled = 3;

COLORREF ImagePixel(HWND button, int state, int x, int y) {
  return GetPixel(skin::ButtonStateSurface(button, state), x, y);
}

// One channel of `over` laid on `under` at constant opacity alpha.
int Blend(int over, int under, int alpha) { return (over * alpha + under * (255 - alpha)) / 255; }

void ExpectBlended(COLORREF shown, COLORREF over, COLORREF under, int alpha) {
  EXPECT_LE(std::abs(GetRValue(shown) - Blend(GetRValue(over), GetRValue(under), alpha)), 2);
  EXPECT_LE(std::abs(GetGValue(shown) - Blend(GetGValue(over), GetGValue(under), alpha)), 2);
  EXPECT_LE(std::abs(GetBValue(shown) - Blend(GetBValue(over), GetBValue(under), alpha)), 2);
}

int TimerTicksWithin(HWND window, DWORD milliseconds) {
  int ticks = 0;
  const DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && msg.hwnd == window) ++ticks;
      DispatchMessageW(&msg);
    }
  }
  return ticks;
}

class ButtonFade : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(f.attached);
    button = f.ui.pushButton;
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(button, message, wParam, lParam);
  }
  InteractionForm f;
  HWND button = nullptr;
};

TEST_F(ButtonFade, HoverFadesInOverEightySixStepsAndLeaveFadesBack) {
  CursorOver(button);
  ResetButton(button);
  const COLORREF normal = ImagePixel(button, kNormal, 1, 3);
  const COLORREF hot = ImagePixel(button, kHot, 1, 3);
  ASSERT_NE(normal, hot);
  ASSERT_EQ(WindowPixels(button).At(1, 3), normal);

  Send(WM_MOUSEMOVE, 0, ClientPoint(30, 10));
  EXPECT_EQ(Prop(button, kMouseFlag), 1);
  EXPECT_EQ(Prop(button, kOldState), kHot);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_NE(Prop(button, kTimerId), 0);
  EXPECT_EQ(WindowPixels(button).At(1, 3), normal);  // nothing drawn at once

  // Further moves over the button change nothing.
  const LONG_PTR timer = Prop(button, kTimerId);
  Send(WM_MOUSEMOVE, 0, ClientPoint(31, 10));
  EXPECT_EQ(Prop(button, kTimerId), timer);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);

  auto levels = RunFades({button});
  EXPECT_EQ(levels[button], FadeLevels(0));
  EXPECT_EQ(levels[button].size(), 86u);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  EXPECT_EQ(PixelsDifferentFromImage(button, kHot), 0);

  // Leaving lays the hover face once at 140 and fades the normal face in.
  // The face is hot already, so make the 140 blend visible over the normal one.
  skin::SetSkinProp(button, kOldState, kNormal);
  skin::SetSkinProp(button, kAlphaLevel, 255);
  skin::PaintButtonBlend(button, nullptr);
  ASSERT_EQ(WindowPixels(button).At(1, 3), normal);
  Send(WM_MOUSELEAVE);
  ExpectBlended(WindowPixels(button).At(1, 3), hot, normal, 140);
  EXPECT_EQ(Prop(button, kMouseFlag), 0);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_NE(Prop(button, kTimerId), 0);
  levels = RunFades({button});
  EXPECT_EQ(levels[button], FadeLevels(0));
  EXPECT_EQ(PixelsDifferentFromImage(button, kNormal), 0);
}

TEST_F(ButtonFade, ReleaseFadesFromSixtyOnTheRunningTimerAndStrayTicksStepOnce) {
  CursorOver(button);
  ResetButton(button);
  Send(WM_MOUSEMOVE, 0, ClientPoint(30, 10));
  const LONG_PTR timer = Prop(button, kTimerId);
  ASSERT_NE(timer, 0);
  PumpFor(60);
  ASSERT_NE(Prop(button, kTimerId), 0);

  // A release while the hover fade runs: no second timer, the running one
  // goes on from 60 towards the normal face.
  Send(WM_LBUTTONUP, 0, ClientPoint(30, 10));
  EXPECT_EQ(Prop(button, kMouseFlag), 0);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(Prop(button, kAlphaLevel), 60);
  EXPECT_EQ(Prop(button, kTimerId), timer);
  auto levels = RunFades({button});
  EXPECT_EQ(levels[button], FadeLevels(60));
  EXPECT_EQ(levels[button].size(), 66u);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(PixelsDifferentFromImage(button, kNormal), 0);
  EXPECT_EQ(TimerTicksWithin(button, 100), 0);  // the timer was killed

  // A WM_TIMER without a fade timer draws one step and starts nothing.
  skin::SetSkinProp(button, kOldState, kHot);
  skin::SetSkinProp(button, kAlphaLevel, 120);
  Send(WM_TIMER, skin::kFadeTimerId);
  EXPECT_EQ(Prop(button, kAlphaLevel), 123);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  ExpectBlended(WindowPixels(button).At(1, 3), ImagePixel(button, kHot, 1, 3),
                ImagePixel(button, kNormal, 1, 3), 120);
  skin::SetSkinProp(button, kAlphaLevel, 255);
  Send(WM_TIMER, 7);  // any identifier makes a step
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  EXPECT_EQ(PixelsDifferentFromImage(button, kHot), 0);
  EXPECT_EQ(TimerTicksWithin(button, 60), 0);

  // A timer tick on another kind is only passed on.
  RecordPreviousProcedure(f.ui.checkBox);
  skin::SetSkinProp(f.ui.checkBox, kAlphaLevel, 9);
  SendMessageW(f.ui.checkBox, WM_TIMER, 1, 0);
  EXPECT_EQ(Prop(f.ui.checkBox, kAlphaLevel), 9);
  EXPECT_EQ(RecordedMessages(f.ui.checkBox), std::vector<UINT>{WM_TIMER});
}

TEST_F(ButtonFade, TwoButtonsFadeOnTheirOwnTimersAndLevels) {
  HWND other = f.secondButton;
  CursorOver(button);
  ResetButton(button);
  ResetButton(other);
  Send(WM_MOUSEMOVE, 0, ClientPoint(30, 10));      // hover from 0
  SendMessageW(other, WM_LBUTTONUP, 0, ClientPoint(5, 5));  // release from 60
  EXPECT_NE(Prop(button, kTimerId), 0);
  EXPECT_NE(Prop(other, kTimerId), 0);
  auto levels = RunFades({button, other});
  EXPECT_EQ(levels[button], FadeLevels(0));
  EXPECT_EQ(levels[other], FadeLevels(60));
  EXPECT_EQ(PixelsDifferentFromImage(button, kHot), 0);
  EXPECT_EQ(PixelsDifferentFromImage(other, kNormal), 0);

  // A release whose click takes the skin off the button: no timer started,
  // no property left behind.
  RecordPreviousProcedure(other);
  UnskinOnMessage(other, WM_LBUTTONUP);
  SendMessageW(other, WM_LBUTTONUP, 0, ClientPoint(5, 5));
  EXPECT_EQ(Prop(other, skin::prop::kProcAddr), 0);
  EXPECT_TRUE(PropertyNames(other).size() == 1u && PropertyNames(other)[0] == L"TESTORIGINALPROC");
  EXPECT_EQ(TimerTicksWithin(other, 60), 0);

  // Detaching a button while it fades kills its timer.
  Send(WM_MOUSELEAVE);
  ASSERT_NE(Prop(button, kTimerId), 0);
  f.skinner.DetachSkin(button);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  EXPECT_EQ(TimerTicksWithin(button, 60), 0);
}

TEST_F(ButtonFade, ClickRunsStepByStepWithTheFocusChangeInsideThePassOn) {
  CursorOver(button);
  ResetButton(button);
  SetFocus(f.textBox);
  RecordPreviousProcedure(button);
  HDC pressedImage = skin::ButtonStateSurface(button, kPressed);
  const COLORREF frameCorner = GetPixel(pressedImage, 2, 2);

  // 1. The pointer enters.
  Send(WM_MOUSEMOVE, 0, ClientPoint(30, 10));
  const LONG_PTR timer = Prop(button, kTimerId);
  ASSERT_NE(timer, 0);

  // 2. Button down: the button takes the focus inside the pass-on (images
  // rendered again with the focus frame, fade restarted from 0), then the
  // down handler stops the timer and shows the pressed face whole.
  ClearRecordedMessages();
  Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(30, 10));
  EXPECT_EQ(GetFocus(), button);
  auto seen = RecordedMessages(button);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_SETFOCUS)), seen.end());
  EXPECT_NE(GetPixel(pressedImage, 2, 2), frameCorner);  // focus frame drawn in
  EXPECT_EQ(Prop(button, kOldState), kPressed);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  EXPECT_EQ(PixelsDifferentFromImage(button, kPressed), 0);

  // 3. Button up: the click happens, then the normal face fades in from 60.
  Send(WM_LBUTTONUP, 0, ClientPoint(30, 10));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Prop(button, kMouseFlag), 0);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(Prop(button, kAlphaLevel), 60);
  const LONG_PTR releaseTimer = Prop(button, kTimerId);
  EXPECT_NE(releaseTimer, 0);

  // 4. The next move inside re-arms the hover on the same timer.
  Send(WM_MOUSEMOVE, 0, ClientPoint(31, 10));
  EXPECT_EQ(Prop(button, kMouseFlag), 1);
  EXPECT_EQ(Prop(button, kOldState), kHot);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(Prop(button, kTimerId), releaseTimer);

  // 5. The pointer leaves: normal face from 0, still one timer.
  Send(WM_MOUSELEAVE);
  EXPECT_EQ(Prop(button, kMouseFlag), 0);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(Prop(button, kTimerId), releaseTimer);
}

TEST_F(ButtonFade, PressedFaceAtOnceWhenDraggedOutOrHeldWithTheSpaceBar) {
  CursorOver(button);
  ResetButton(button);
  Send(WM_MOUSEMOVE, 0, ClientPoint(30, 10));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(30, 10));
  ASSERT_EQ(GetCapture(), button);

  // Dragged outside while captured: a fade in progress is cut short and the
  // pressed face completed at full opacity, on every move.
  SetCursorPos(900, 900);
  for (int move = 0; move < 2; ++move) {
    skin::SetSkinProp(button, kAlphaLevel, 30);
    skin::StartFadeTimer(button);
    Scribble(button, RGB(1, 2, 3));
    Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(-200, -200));
    EXPECT_EQ(Prop(button, kTimerId), 0);
    EXPECT_EQ(Prop(button, kAlphaLevel), 255);
    EXPECT_EQ(Prop(button, kOldState), kPressed);
    EXPECT_EQ(Prop(button, kMouseFlag), 1);
    EXPECT_EQ(PixelsDifferentFromImage(button, kPressed), 0);
  }
  ReleaseCapture();
  Send(WM_LBUTTONUP, 0, ClientPoint(-200, -200));

  // Space bar: pressed at once, again on each auto-repeat; released, the
  // normal face fades in from 0.
  SetFocus(button);
  ResetButton(button);
  skin::StartFadeTimer(button);
  Send(WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_EQ(Prop(button, kOldState), kPressed);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  EXPECT_EQ(PixelsDifferentFromImage(button, kPressed), 0);
  Scribble(button, RGB(1, 2, 3));
  Send(WM_KEYDOWN, VK_SPACE, 0x40390001);  // auto-repeat
  EXPECT_EQ(PixelsDifferentFromImage(button, kPressed), 0);
  skin::SetSkinProp(button, kMouseFlag, 1);
  Send(WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  EXPECT_EQ(Prop(button, kMouseFlag), 0);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_NE(Prop(button, kTimerId), 0);

  // Enter and other keys draw nothing and change nothing.
  ResetButton(button);
  const LONG_PTR level = Prop(button, kAlphaLevel);
  Scribble(button, RGB(1, 2, 3));
  Send(WM_KEYDOWN, VK_RETURN, 0x001C0001);
  Send(WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
  Send(WM_KEYDOWN, 'A', 0x001E0001);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(Prop(button, kAlphaLevel), level);
  EXPECT_EQ(Prop(button, kTimerId), 0);
  EXPECT_EQ(WindowPixels(button).At(30, 10), RGB(1, 2, 3));
}

TEST_F(ButtonFade, EnableSwitchesTheFaceAtTheCurrentLevelAndFocusRestartsTheFade) {
  ResetButton(button);
  ASSERT_EQ(Prop(button, kAlphaLevel), 255);
  SendMessageW(button, WM_ENABLE, FALSE, 0);
  EXPECT_EQ(Prop(button, kOldState), kDisabled);
  EXPECT_EQ(Prop(button, kAlphaLevel), 255);
  EXPECT_EQ(PixelsDifferentFromImage(button, kDisabled), 0);
  SendMessageW(button, WM_ENABLE, TRUE, 0);
  EXPECT_EQ(Prop(button, kOldState), kNormal);
  EXPECT_EQ(PixelsDifferentFromImage(button, kNormal), 0);

  // Focus gained and lost: images rendered again with and without the frame,
  // and the current one fades in from 0.
  HDC normalImage = skin::ButtonStateSurface(button, kNormal);
  const COLORREF plain = GetPixel(normalImage, 2, 2);
  SetFocus(button);
  EXPECT_NE(GetPixel(normalImage, 2, 2), plain);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_NE(Prop(button, kTimerId), 0);
  skin::SetSkinProp(button, kAlphaLevel, 90);
  SetFocus(f.textBox);
  EXPECT_EQ(GetPixel(normalImage, 2, 2), plain);
  EXPECT_EQ(Prop(button, kAlphaLevel), 0);
  EXPECT_NE(Prop(button, kTimerId), 0);
}

TEST(ButtonFadeLeave, LeaveRequestGoesThroughEitherLibrary) {
  InteractionForm f;
  ASSERT_TRUE(f.attached);
  HWND button = f.ui.pushButton;
  // The pointer leaves after the request: the leave handler then fades the
  // normal face in.
  for (bool user32 : {true, false}) {
    skin::Engine().hasTrackMouseEvent = user32;
    CursorOver(button);
    ResetButton(button);
    skin::SetSkinProp(button, kMouseFlag, 1);
    skin::SetSkinProp(button, kOldState, kHot);
    skin::TrackMouseLeave(button);
    ParkCursor();
    PumpFor(400);
    EXPECT_EQ(Prop(button, kMouseFlag), 0) << user32;
    EXPECT_EQ(Prop(button, kOldState), kNormal) << user32;
  }

  // The other kinds arm the request once, through the same path.
  HWND check = f.ui.checkBox;
  skin::Engine().hasTrackMouseEvent = false;
  CursorOver(check);
  skin::SetSkinProp(check, kMouseFlag, 0);
  SendMessageW(check, WM_MOUSEMOVE, 0, ClientPoint(3, 3));
  EXPECT_EQ(Prop(check, kMouseFlag), 1);
  EXPECT_EQ(Prop(check, kOldState), kHot);
  ParkCursor();
  PumpFor(400);
  EXPECT_EQ(Prop(check, kMouseFlag), 0);
  EXPECT_EQ(Prop(check, kOldState), kNormal);
}

}  // namespace
