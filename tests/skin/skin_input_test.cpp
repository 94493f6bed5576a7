// Skinned controls under the pointer, the keyboard, focus and enable changes:
// the fade levels drawn tick by tick, the faces shown, the states kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <utility>

#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/hit_tests.h"
#include "skin/interaction/mouse_leave.h"
#include "skin/render/button_painter.h"
#include "skin/render/button_state_surfaces.h"
#include "skin_fixture.h"

namespace {

enum { kNormal, kHot, kPressed, kDisabled };
using Record = std::vector<LONG_PTR>;

void CursorTo(int x, int y) { SetCursorPos(x, y), PumpFor(50); }
void CursorOver(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  CursorTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
// State, level, whether a fade timer runs, pointer flag; After: once the button has handled `message`.
Record Skin(HWND b) {
  return {Prop(b, L"OLDSTATE"), Prop(b, L"ALPHALEVEL"), Prop(b, L"TIMERID") != 0, Prop(b, L"MOUSEFLAG")};
}
Record After(HWND b, UINT message, WPARAM wParam = 0, LPARAM lParam = Point(30, 10)) {
  return Send(b, message, wParam, lParam), Skin(b);
}
COLORREF Image(HWND b, int state) { return GetPixel(skin::ButtonStateSurface(b, state), 1, 3); }
bool Blended(COLORREF shown, COLORREF over, COLORREF under, int alpha) {
  for (int shift : {0, 8, 16}) {
    const int o = (over >> shift) & 0xFF, u = (under >> shift) & 0xFF, s = (shown >> shift) & 0xFF;
    if (std::abs(s - (o * alpha + u * (255 - alpha)) / 255) > 2) return false;
  }
  return true;
}

// Pixels inside the rounded region that differ from the button's image of `state`.
int DiffersFromImage(HWND button, int state) {
  const WindowPixels shown(button);
  HDC image = skin::ButtonStateSurface(button, state);
  int different = 0;
  for (int y = 1; y < shown.height - 1; ++y) {
    for (int x = 1; x < shown.width - 1; ++x) different += shown.At(x, y) != GetPixel(image, x, y);
  }
  return image ? different : -1;
}

// No fade, no pointer, the normal face drawn whole.
void ResetButton(HWND button) {
  skin::StopFadeTimer(button);
  skin::SetSkinProp(button, skin::prop::kMouseFlag, 0);
  skin::SetSkinProp(button, skin::prop::kOldState, 0);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// Runs the message loop until none of `buttons` fades (5 s at most); per
// window the "ALPHALEVEL" seen at each of its WM_TIMER messages.
std::map<HWND, Record> RunFades(const std::vector<HWND>& buttons) {
  static std::map<HWND, Record> levels;
  levels.clear();
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, [](int code, WPARAM removed, LPARAM lParam) -> LRESULT {
    const MSG& m = *reinterpret_cast<const MSG*>(lParam);
    if (m.message == WM_TIMER && removed) levels[m.hwnd].push_back(Prop(m.hwnd, L"ALPHALEVEL"));
    return CallNextHookEx(nullptr, code, removed, lParam);
  }, nullptr, GetCurrentThreadId());
  PumpUntil([&] { return std::none_of(buttons.begin(), buttons.end(), [](HWND w) { return Prop(w, L"TIMERID"); }); });
  UnhookWindowsHookEx(hook);
  return levels;
}

Record FadeLevels(LONG_PTR from) {  // from, from + 3, ... up to 255
  Record levels;
  for (LONG_PTR level = from; level <= 255; level += 3) levels.push_back(level);
  return levels;
}

class SkinInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(f.attached);
    CursorOver(b);
    ResetButton(b);
  }
  void TearDown() override { CursorTo(900, 900); }
  SkinForm f;
  HWND b = f.push;
};

TEST_F(SkinInput, HoverLeaveAndReleaseFadeStepByStep) {
  const COLORREF normal = Image(b, kNormal), hot = Image(b, kHot);
  ASSERT_NE(normal, hot);
  EXPECT_EQ(After(b, WM_MOUSEMOVE), (Record{kHot, 0, 1, 1}));
  EXPECT_EQ(WindowPixels(b).At(1, 3), normal) << "nothing drawn before the first tick";
  EXPECT_EQ(After(b, WM_TIMER, Prop(b, L"TIMERID"), 0), (Record{kHot, 3, 1, 1})) << "one tick";
  EXPECT_EQ(After(b, WM_MOUSEMOVE, 0, Point(31, 10)), (Record{kHot, 3, 1, 1})) << "a second move restarted the fade";
  EXPECT_EQ(RunFades({b})[b], FadeLevels(3));
  EXPECT_EQ(Skin(b), (Record{kHot, 0, 0, 1}));
  EXPECT_EQ(DiffersFromImage(b, kHot), 0);
  EXPECT_EQ(After(f.second, WM_MOUSEMOVE)[2] + Skin(f.second)[3], 0) << "handled after the pointer went on: starts nothing";
  RECT other;
  GetWindowRect(f.second, &other);
  SetCursorPos(other.left + 5, other.top + 5);
  Send(f.second, WM_MOUSEMOVE, 0, Point(5, 5));  // one leave request per thread: b is left at once
  EXPECT_EQ(Skin(b)[3], 0);
  CursorOver(b);
  ResetButton(b);

  // Leaving lays the hot face at 140 over what is shown, then fades the normal face in.
  skin::SetSkinProp(b, skin::prop::kAlphaLevel, 255);
  skin::PaintButtonBlend(b, nullptr);
  EXPECT_EQ(After(b, WM_MOUSELEAVE), (Record{kNormal, 0, 1, 0}));
  EXPECT_TRUE(Blended(WindowPixels(b).At(1, 3), hot, normal, 140));
  EXPECT_EQ(RunFades({b})[b], FadeLevels(0));
  EXPECT_EQ(DiffersFromImage(b, kNormal), 0);

  // A release goes on from 60 on the running timer; the other button fades on its own.
  Send(b, WM_MOUSEMOVE, 0, Point(30, 10));
  const LONG_PTR timer = Prop(b, L"TIMERID");
  PumpFor(60);
  Send(f.second, WM_LBUTTONUP, 0, Point(5, 5));
  EXPECT_EQ(After(b, WM_LBUTTONUP), (Record{kNormal, 60, 1, 0}));
  EXPECT_EQ(Prop(b, L"TIMERID"), timer);
  auto levels = RunFades({b, f.second});
  EXPECT_EQ(levels[b], FadeLevels(60));
  EXPECT_EQ(levels[f.second], FadeLevels(60));
  EXPECT_EQ(DiffersFromImage(b, kNormal), 0);

  // A stray tick draws one step and starts nothing.
  skin::SetSkinProp(b, skin::prop::kOldState, kHot);
  skin::SetSkinProp(b, skin::prop::kAlphaLevel, 120);
  EXPECT_EQ(After(b, WM_TIMER, 7, 0), (Record{kHot, 123, 0, 0}));
  EXPECT_TRUE(Blended(WindowPixels(b).At(1, 3), hot, normal, 120));
}

TEST_F(SkinInput, PressedFaceAtOnceFromMouseAndSpaceBar) {
  Send(b, WM_MOUSEMOVE, 0, Point(30, 10));
  EXPECT_EQ(After(b, WM_LBUTTONDOWN, MK_LBUTTON), (Record{kPressed, 0, 0, 1}));
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(DiffersFromImage(b, kPressed), 0);
  // Dragged out while held: the pressed face is completed, the fade cut short.
  CursorTo(900, 900);
  skin::SetSkinProp(b, skin::prop::kAlphaLevel, 30);
  HDC dc = GetWindowDC(b);  // scribbled over: the face must be drawn anew
  Fill(dc, {0, 0, 4000, 4000}, RGB(1, 2, 3)), ReleaseDC(b, dc);
  EXPECT_EQ(After(b, WM_MOUSEMOVE, MK_LBUTTON, Point(-200, -200)), (Record{kPressed, 255, 0, 1}));
  EXPECT_EQ(DiffersFromImage(b, kPressed), 0);
  ReleaseCapture();
  Send(b, WM_LBUTTONUP, 0, Point(-200, -200));

  ResetButton(b);
  EXPECT_EQ(After(b, WM_KEYDOWN, VK_SPACE, 0x00390001), (Record{kPressed, 0, 0, 0}));  // the face: as by the mouse
  EXPECT_EQ(After(b, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u)), (Record{kNormal, 0, 1, 0}));
}

TEST_F(SkinInput, EnableAndFocusSwitchFacesAndLeaveComesThroughEitherLibrary) {
  EXPECT_EQ(After(b, WM_ENABLE, FALSE)[0], kDisabled);
  EXPECT_EQ(DiffersFromImage(b, kDisabled), 0);
  Send(b, WM_ENABLE, TRUE);
  EXPECT_EQ(DiffersFromImage(b, kNormal), 0);
  HDC image = skin::ButtonStateSurface(b, kNormal);
  const COLORREF plain = GetPixel(image, 2, 2);
  SetFocus(b);
  EXPECT_NE(GetPixel(image, 2, 2), plain) << "no focus frame in the images";
  EXPECT_EQ(Skin(b), (Record{kNormal, 0, 1, 0}));
  skin::SetSkinProp(b, skin::prop::kAlphaLevel, 90);
  SetFocus(f.text);
  EXPECT_EQ(GetPixel(image, 2, 2), plain);
  EXPECT_EQ(Prop(b, L"ALPHALEVEL"), 0);
  EXPECT_EQ(RunFades({b})[b], FadeLevels(0)) << "the button's own focus repaint cut the fade";
  // A repaint asked for before the button's own is kept, and only that one.
  const RECT uncovered = {40, 5, 60, 15};
  for (UINT message : {WM_MOUSEMOVE, WM_MOUSELEAVE, WM_KILLFOCUS}) {
    ResetButton(b);
    InvalidateRect(b, &uncovered, FALSE);
    Send(b, message, 0, Point(30, 10));
    RECT pending = {};
    EXPECT_TRUE(GetUpdateRect(b, &pending, FALSE) && EqualRect(&pending, &uncovered)) << message;
  }

  for (bool user32 : {true, false}) {
    skin::Engine().hasTrackMouseEvent = user32;
    CursorOver(b);
    ResetButton(b);
    skin::SetSkinProp(b, skin::prop::kMouseFlag, 1);
    skin::SetSkinProp(b, skin::prop::kOldState, kHot);
    skin::TrackMouseLeave(b);
    CursorTo(900, 900);
    EXPECT_TRUE(PumpUntil([&] { return Skin(b)[0] == kNormal && Skin(b)[3] == 0; })) << user32;
  }
  ResetButton(b);  // a hover fade ends with the pointer gone and no leave reported
  skin::SetSkinProp(b, skin::prop::kMouseFlag, 1);
  skin::SetSkinProp(b, skin::prop::kAlphaLevel, 255);
  Send(b, WM_TIMER, 1);
  EXPECT_TRUE(PumpUntil([&] { return Skin(b)[3] == 0; }));
}

TEST_F(SkinInput, OtherKindsFollowPointerButtonAndKeys) {
  // Check box, option button: hot, pressed, released, space, leave.
  const struct { UINT message; WPARAM wParam; LONG_PTR state, flag; } steps[] = {
      {WM_MOUSEMOVE, 0, kHot, 1}, {WM_MOUSEMOVE, MK_LBUTTON, kPressed, 1}, {WM_LBUTTONUP, 0, kNormal, 1},
      {WM_KEYDOWN, VK_SPACE, kPressed, 1}, {WM_KEYUP, VK_SPACE, kNormal, 1}, {WM_MOUSELEAVE, 0, kNormal, 0}};
  for (HWND w : {f.check, f.option}) {
    for (const auto& step : steps) {
      Send(w, step.message, step.wParam, Point(3, 3));
      EXPECT_EQ((Record{Skin(w)[0], Skin(w)[3]}), (Record{step.state, step.flag})) << step.message;
    }
  }
  const int top = (20 - GetSystemMetrics(SM_CYMENUCHECK) + 1) / 2;
  Send(f.check, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3));
  EXPECT_EQ(WindowPixels(f.check).At(0, top), Rgb(0x3986C4));
  Send(f.text, WM_LBUTTONUP, 0, Point(3, 3));  // a release beside them resets the form's boxes
  EXPECT_EQ(Skin(f.check)[0], kNormal);

  // Combo box: only its button zone presses an editable one (the zone: the DPI test).
  const int w = 121, c = GetSystemMetrics(SM_CXVSCROLL);
  Send(f.editCombo, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
  EXPECT_EQ(Skin(f.editCombo)[0], kNormal);
  Send(f.editCombo, WM_MOUSEMOVE, 0, Point(w - 5, 5));
  EXPECT_EQ(Skin(f.editCombo)[0], kHot);
  EXPECT_EQ(WindowPixels(f.editCombo).At(w - c - 2 + 5, 2), Rgb(0xC1EEFD));
  Send(f.listCombo, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
  EXPECT_EQ(Skin(f.listCombo)[0], kPressed);
  ReleaseCapture();
  Send(f.listCombo, WM_LBUTTONUP, 0, Point(5, 5));

  // Header: the item under the pointer is hot, the pressed one keeps its face.
  for (const auto& [x, item] : {std::pair{100, 0}, {101, 1}, {201, -1}})
    EXPECT_EQ(skin::HitTestHeaderItem(f.header, x), item) << x;
  Send(f.header, WM_MOUSEMOVE, 0, Point(150, 5));
  EXPECT_EQ(Prop(f.header, L"HMINDEX"), 1);
  EXPECT_EQ(WindowPixels(f.header).At(100, 1), Rgb(0xA7DEFC));
  Send(f.header, WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 5));
  EXPECT_EQ(Prop(f.header, L"HDINDEX"), 0);
  EXPECT_EQ(WindowPixels(f.header).At(0, 1), Rgb(0x7ECEFA));
  Send(f.header, WM_MOUSELEAVE);
  EXPECT_EQ(Prop(f.header, L"HMINDEX") + Prop(f.header, L"HDINDEX"), -2);
  EXPECT_EQ(WindowPixels(f.header).At(100, 1), Rgb(0xE9F4FE));
  ReleaseCapture();
}

}  // namespace
