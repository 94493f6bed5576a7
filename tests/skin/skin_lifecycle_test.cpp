// Attach and detach on a real form: procedures, properties, styles, regions
// and every GDI handle the skin made, measured by the system itself.
#include <gtest/gtest.h>

#include <map>

#include "skin/core/engine_state.h"
#include "skin/core/skin_wnd_proc.h"
#include "skin/core/window_props.h"
#include "skin_fixture.h"

namespace {

const LONG_PTR kSkinProc = reinterpret_cast<LONG_PTR>(&skin::SkinWndProc);
LONG_PTR ProcOf(HWND w) { return GetWindowLongPtrW(w, GWLP_WNDPROC); }
using Names = std::vector<std::wstring>;

// Another party's subclass, installed over whatever the window has.
WNDPROC g_under = nullptr;
UINT g_lastSeen = 0, g_swallow = 0;
LRESULT CALLBACK OverProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  g_lastSeen = m;
  if (m == g_swallow) return 0;
  return CallWindowProcW(g_under, w, m, wp, lp);
}
void InstallOver(HWND w) {
  g_under = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OverProc)));
}

TEST(SkinLifecycle, AttachSkinsTheTreeOnceAndDetachPutsEverythingBack) {
  SkinForm f;
  ASSERT_TRUE(f.attached);
  const Names button = {L"0BMP", L"0HDC", L"1BMP", L"1HDC", L"2BMP", L"2HDC", L"3BMP", L"3HDC",
                        L"ALPHALEVEL", L"MOUSEFLAG", L"OLDSTATE", L"OLDSTYLE", L"PROCADDR", L"TIMERID"};
  const Names state = {L"MOUSEFLAG", L"OLDSTATE", L"PROCADDR"};
  const std::map<HWND, Names> props = {
      {f.push, button}, {f.checkStyle, button}, {f.check, state}, {f.option, state}, {f.listCombo, state},
      {f.driveList, state}, {f.header, {L"HDINDEX", L"HMINDEX", L"MOUSEFLAG", L"PROCADDR"}},
      {f.form, {L"PROCADDR"}}, {f.progress, {L"PROCADDR"}}, {f.sunken, {L"PROCADDR"}}};
  for (const auto& [window, names] : props) EXPECT_EQ(PropNames(window), names) << window;
  EXPECT_EQ(Prop(f.disabled, L"OLDSTATE"), 3);
  EXPECT_EQ(Prop(f.header, L"HDINDEX"), -1);
  const LONG_PTR pushStyle = Prop(f.push, L"OLDSTYLE");
  EXPECT_EQ(GetWindowLongPtrW(f.push, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(GetWindowLongPtrW(f.checkStyle, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  std::map<HWND, LONG_PTR> previous;
  for (HWND w : f.AllWindows()) {
    EXPECT_EQ(ProcOf(w), kSkinProc) << w;
    previous[w] = Prop(w, L"PROCADDR");
  }
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(f.push, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 1, 1) && PtInRegion(region, 74, 11));

  // Attaching again changes nothing; handles the skin gave out die with detach.
  const int count = skin::Engine().skinnedWindowCount;
  EXPECT_EQ(f.skinner.AttachSkin(f.form), 0);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
  std::vector<HGDIOBJ> handles;
  for (HWND b : {f.push, f.second, f.checkStyle, f.disabled}) {
    for (const wchar_t* key : {L"0HDC", L"1HDC", L"2HDC", L"3HDC", L"0BMP", L"1BMP", L"2BMP", L"3BMP"}) {
      handles.push_back(reinterpret_cast<HGDIOBJ>(Prop(b, key)));
    }
  }
  const skin::SkinImages images = skin::Engine().images;
  for (HDC image : {images.buttonFace, images.comboButton, images.mark, images.optionFace, images.header}) {
    handles.push_back(image);
  }
  for (HGDIOBJ h : handles) EXPECT_NE(GetObjectType(h), 0u);
  EnableWindow(f.push, FALSE);  // changes made while skinned stay
  ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
  f.attached = false;
  for (HGDIOBJ h : handles) EXPECT_EQ(GetObjectType(h), 0u) << h;
  for (HWND w : f.AllWindows()) {
    EXPECT_EQ(ProcOf(w), previous[w]) << w;
    EXPECT_TRUE(PropNames(w).empty()) << w;
  }
  EXPECT_EQ(GetWindowLongPtrW(f.push, GWL_STYLE), pushStyle | WS_DISABLED);
  EXPECT_EQ(GetWindowRgn(f.push, region), ERROR);
  DeleteObject(region);
  EXPECT_FALSE(skin::Engine().started);
  EXPECT_EQ(f.skinner.DetachSkin(f.form), 0);
}

TEST(SkinLifecycle, ProceduresInstalledOverTheSkinKeepTheirPlaceAndTheControlAlive) {
  SkinForm f;
  ASSERT_TRUE(f.attached);
  const LONG_PTR buttonProc = Prop(f.push, L"PROCADDR");
  const LONG_PTR over = reinterpret_cast<LONG_PTR>(&OverProc);
  const int count = skin::Engine().skinnedWindowCount;
  for (bool reattach : {true, false}) {  // then the subclass takes itself out
    InstallOver(f.push);
    ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
    EXPECT_EQ(ProcOf(f.push), over);
    EXPECT_NE(Send(f.push, WM_GETDLGCODE), 0) << "served by DefWindowProc";
    if (reattach) {
      ASSERT_EQ(f.skinner.AttachSkin(f.form), 1);
      EXPECT_EQ(Prop(f.push, L"PROCADDR"), buttonProc);
      EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
      ASSERT_EQ(f.skinner.DetachSkin(f.push), 1);  // the window handed over: both leave
      EXPECT_EQ(ProcOf(f.push), buttonProc);
      ASSERT_EQ(f.skinner.AttachSkin(f.push), 1);
    } else {
      SetWindowLongPtrW(f.push, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_under));
      EXPECT_NE(Send(f.push, WM_GETDLGCODE), 0) << "served by DefWindowProc";
      EXPECT_EQ(ProcOf(f.push), buttonProc);
      EXPECT_TRUE(PropNames(f.push).empty());
      ASSERT_EQ(f.skinner.AttachSkin(f.form), 1);
      EXPECT_EQ(Prop(f.push, L"PROCADDR"), buttonProc);
    }
  }
  InstallOver(f.push);  // destroyed while skinned: the subclass sees the end
  DestroyWindow(f.push);
  EXPECT_EQ(g_lastSeen, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 1);
}

// A procedure under the skin: reads one property when its message arrives,
// then may act on the window.
std::map<HWND, WNDPROC> g_below;
UINT g_when = 0;
HWND g_probe = nullptr;
const wchar_t* g_key = L"";
LONG_PTR g_seen = 0;
void (*g_then)(HWND) = nullptr;
LRESULT CALLBACK BelowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == g_when) g_seen = Prop(g_probe, g_key);
  const LRESULT result = CallWindowProcW(g_below[w], w, m, wp, lp);
  if (m == g_when && g_then) g_then(w);
  return result;
}

TEST(SkinLifecycle, OwnProcedureFirstAndWindowsLeavingTheSkinInsideIt) {
  SkinForm f;
  ASSERT_TRUE(f.attached);
  ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
  for (HWND w : f.AllWindows()) {
    g_below[w] = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BelowProc)));
  }
  ASSERT_EQ(f.skinner.AttachSkin(f.form), 1);
  HWND dialog = CreateTopLevel(L"#32770", WS_POPUP, 500, 0, 50, 20, f.form);
  HWND list = CreateTopLevel(L"ComboLBox", WS_POPUP, 500, 40, 50, 20);
  HWND owned = CreateTopLevel(L"Static", WS_POPUP, 500, 80, 50, 20, f.form);
  auto setHot = [](HWND w) { skin::SetSkinProp(w, skin::prop::kOldState, 1); };
  auto detach = [](HWND w) { skin::clsSkinner().DetachSkin(w); };
  const struct { UINT message; HWND window; HWND probe; const wchar_t* key; void (*then)(HWND); LONG_PTR lp; } cases[] = {
      {WM_SIZE, f.push, f.push, L"0BMP", nullptr, 0},
      {WM_WINDOWPOSCHANGING, f.listCombo, f.listCombo, L"OLDSTATE", setHot, 0},
      {WM_ENTERIDLE, f.form, dialog, L"PROCADDR", nullptr, reinterpret_cast<LPARAM>(dialog)},
      {WM_CTLCOLORLISTBOX, f.form, list, L"PROCADDR", nullptr, reinterpret_cast<LPARAM>(list)},
      {WM_ACTIVATE, f.form, owned, L"PROCADDR", nullptr, reinterpret_cast<LPARAM>(owned)},  // skin first
      {WM_SIZE, f.push, f.push, L"", detach, 0}};
  int i = 0;
  for (const auto& c : cases) {
    ++i;
    const int live = LiveGdiHandles();
    const LONG_PTR before = Prop(c.probe, c.key);
    g_when = c.message, g_probe = c.probe, g_key = c.key, g_then = c.then;
    if (c.message == WM_SIZE || c.message == WM_WINDOWPOSCHANGING) {
      SetWindowPos(c.window, nullptr, 200 + i, 200, 60 + i, 21 + i, SWP_NOZORDER);
    } else {
      Send(c.window, c.message, c.message == WM_ACTIVATE, c.lp);
    }
    g_when = 0;
    EXPECT_TRUE(c.then != setHot || Prop(c.window, L"OLDSTATE") == 0) << "skin's repaint came first";
    if (c.message == WM_ACTIVATE) {
      EXPECT_NE(g_seen, before) << "the other window skinned after the pass-on";
    } else if (c.key[0] && !c.then) {
      EXPECT_EQ(g_seen, before) << c.message;
      EXPECT_NE(Prop(c.probe, c.key), before) << c.message << " skin's work came first or not at all";
    }
    if (c.then == detach) {
      EXPECT_EQ(LiveGdiHandles(), live - 8) << c.message;
      EXPECT_TRUE(PropNames(c.window).empty()) << c.message;
    }
  }
  for (HWND w : {dialog, list, owned}) DestroyWindow(w);
}

TEST(SkinLifecycle, LaterWindowsDestroyedWindowsAndOtherThreads) {
  EXPECT_FALSE(skin::Engine().started);
  skin::clsSkinner skinner;
  EXPECT_EQ(skinner.AttachSkin(nullptr), 0);  // starts the engine, skins nothing
  EXPECT_TRUE(skin::Engine().started);
  const HDC images = skin::Engine().images.mark;
  EXPECT_EQ(skinner.DetachSkin(nullptr), 0);
  EXPECT_EQ(skin::Engine().images.mark, images);
  SkinForm f;
  ASSERT_TRUE(f.attached);
  EXPECT_EQ(skin::Engine().images.mark, images) << "images built twice";
  const int count = skin::Engine().skinnedWindowCount;

  // Activation brings in owned windows and dialogs, not strangers.
  HWND owned = CreateTopLevel(L"Static", WS_POPUP, 500, 0, 50, 20, f.form);
  HWND dialog = CreateTopLevel(L"#32770", WS_POPUP, 500, 40, 50, 20);
  HWND stranger = CreateTopLevel(L"Static", WS_POPUP, 500, 80, 50, 20);
  for (HWND w : {owned, dialog, stranger}) Send(f.form, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(w));
  EXPECT_EQ(ProcOf(owned), kSkinProc);
  EXPECT_EQ(ProcOf(dialog), kSkinProc);
  EXPECT_NE(ProcOf(stranger), kSkinProc);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count + 2);
  for (HWND w : {owned, dialog, stranger}) DestroyWindow(w);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);

  // Windows of another thread, one carrying a copy's "PROCADDR", are left alone.
  struct Foreign { HWND window; HANDLE ready, done; } other = {
      nullptr, CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, [](void* p) -> DWORD {
    auto* o = static_cast<Foreign*>(p);
    o->window = CreateTopLevel(L"#32770", WS_POPUP, 600, 0, 40, 40);
    SetPropW(o->window, L"PROCADDR", reinterpret_cast<HANDLE>(&DefWindowProcW));
    SetEvent(o->ready);
    while (MsgWaitForMultipleObjects(1, &o->done, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) PumpFor(0);
    return 0;
  }, &other, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(other.ready, 5000), WAIT_OBJECT_0);
  const LONG_PTR foreignProc = ProcOf(other.window);
  EXPECT_EQ(skinner.AttachSkin(other.window), 0);
  EXPECT_EQ(skinner.DetachSkin(other.window), 0);
  EXPECT_EQ(ProcOf(other.window), foreignProc);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
  SetEvent(other.done);
  WaitForSingleObject(thread, 5000);
  for (HANDLE h : {thread, other.ready, other.done}) CloseHandle(h);

  // A button that dies while the skin prepares it is not counted and keeps nothing.
  HWND doomed = CreateChild(f.form, L"Button", BS_PUSHBUTTON, 0, 300, 100, 40, 20);
  g_below[doomed] = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(doomed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BelowProc)));
  g_when = BM_SETSTYLE, g_probe = doomed, g_key = L"", g_then = [](HWND w) { DestroyWindow(w); };
  const int live = LiveGdiHandles();
  EXPECT_EQ(skinner.AttachSkin(doomed), 0);
  g_when = 0;
  EXPECT_EQ(LiveGdiHandles(), live);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);

  // Destroyed while skinned: a button takes its eight surfaces along.
  const HGDIOBJ surface = reinterpret_cast<HGDIOBJ>(Prop(f.push, L"2BMP"));
  DestroyWindow(f.push);
  EXPECT_EQ(GetObjectType(surface), 0u);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 1);
  g_swallow = WM_DESTROY;  // a subclass over the skin keeps WM_DESTROY to itself
  InstallOver(f.second);
  const HGDIOBJ kept = reinterpret_cast<HGDIOBJ>(Prop(f.second, L"1HDC"));
  DestroyWindow(f.second);
  g_swallow = 0;
  EXPECT_EQ(GetObjectType(kept), 0u);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 2);
  DestroyWindow(f.form);
  f.form = nullptr;
  f.attached = false;
  EXPECT_FALSE(skin::Engine().started);
  EXPECT_EQ(GetObjectType(images), 0u);
}

TEST(SkinLeaks, ThousandsOfCyclesKeepTheProcessGdiHandles) {
  // The measure sees handles made outside the skin.
  const int empty = LiveGdiHandles();
  HBRUSH brush = CreateSolidBrush(kScribble);
  HRGN region = CreateRectRgn(0, 0, 5, 5);
  ASSERT_EQ(LiveGdiHandles(), empty + 2);
  DeleteObject(brush);
  DeleteObject(region);
  ASSERT_EQ(LiveGdiHandles(), empty);

  SkinForm f;
  ASSERT_TRUE(f.attached);
  const int attached = LiveGdiHandles();
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
    ASSERT_EQ(f.skinner.AttachSkin(f.form), 1);
    if (i % 25 == 0) Repaint(f.form);
  }
  EXPECT_EQ(LiveGdiHandles(), attached);
  for (int i = 0; i < 2000; ++i) {
    Send(f.push, WM_MOUSEMOVE, 0, Point(10, 10));
    Send(f.push, WM_TIMER, 1);
    Send(f.push, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    Send(f.push, WM_LBUTTONUP, 0, Point(10, 10));
    Send(f.push, WM_MOUSELEAVE);
    if (i % 50 == 0) SetWindowPos(f.push, nullptr, 0, 0, 70 + i % 30, 23 + i % 5, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(f.push, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  }
  PumpFor(0);
  EXPECT_EQ(LiveGdiHandles(), attached);
  EXPECT_EQ(WindowPixels(f.push).At(0, 11), Rgb(0x1B8FD5)) << "button no longer drawn";
}

}  // namespace
