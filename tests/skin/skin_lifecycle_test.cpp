// Attach and detach on a real form: procedures, properties, styles, regions
// and every GDI handle the skin made, measured by the system itself.
#include <gtest/gtest.h>

#include <map>

#include "skin/core/engine_state.h"
#include "skin/core/skin_wnd_proc.h"
#include "skin/core/window_props.h"
#include "skin/render/button_state_surfaces.h"
#include "skin_fixture.h"

namespace {

const LONG_PTR kSkinProc = reinterpret_cast<LONG_PTR>(&skin::SkinWndProc);
LONG_PTR ProcOf(HWND w) { return GetWindowLongPtrW(w, GWLP_WNDPROC); }
using Names = std::vector<std::wstring>;

// Another party's procedure over or under the skin's: reads one property
// when its message arrives, may keep a message or act after passing it on.
std::map<HWND, WNDPROC> g_next;
std::map<HWND, UINT> g_last;
UINT g_when = 0, g_swallow = 0;
HWND g_probe = nullptr;
const wchar_t* g_key = L"";
LONG_PTR g_seen = 0;
void (*g_then)(HWND) = nullptr;
LRESULT CALLBACK HookProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  g_last[w] = m;
  if (m == g_swallow) return 0;
  if (m == g_when) g_seen = Prop(g_probe, g_key);
  const LRESULT result = CallWindowProcW(g_next[w], w, m, wp, lp);
  if (m == g_when && g_then) g_then(w);
  return result;
}
void Hook(HWND w) {
  g_next[w] = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc)));
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
  // Exactly the rounded rectangle one pixel past the 75x23 button, with corners of three
  // (as far as the system rounds: under Wine corners of 3 to 5 come out alike).
  HRGN region = CreateRectRgn(0, 0, 0, 0), rounded = CreateRoundRectRgn(0, 0, 76, 24, 3, 3);
  EXPECT_NE(GetWindowRgn(f.push, region), ERROR);
  EXPECT_TRUE(EqualRgn(region, rounded));
  DeleteObject(rounded);

  // Attaching again changes nothing; handles the skin gave out die with detach.
  const int count = skin::Engine().skinnedWindowCount, live = LiveGdiHandles();
  EXPECT_EQ(f.skinner.AttachSkin(f.form), 0);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
  const HDC image = skin::Engine().images.header, surface = skin::ButtonStateSurface(f.disabled, 3);
  EnableWindow(f.push, FALSE);  // changes made while skinned stay
  ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
  f.attached = false;
  EXPECT_EQ(LiveGdiHandles(), live - 4 * 8 - 5 * 2) << "four buttons' surfaces, five images";
  EXPECT_EQ(GetObjectType(image) + GetObjectType(surface), 0u);
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
  const int count = skin::Engine().skinnedWindowCount;
  for (bool stays : {false, true}) {  // the subclass takes itself out, or stays
    Hook(f.push);
    ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
    EXPECT_EQ(ProcOf(f.push), reinterpret_cast<LONG_PTR>(&HookProc));
    EXPECT_NE(Send(f.push, WM_GETDLGCODE), 0) << "served by DefWindowProc";
    if (!stays) {
      SetWindowLongPtrW(f.push, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_next[f.push]));
      EXPECT_NE(Send(f.push, WM_GETDLGCODE), 0) << "served by DefWindowProc";
      EXPECT_TRUE(ProcOf(f.push) == buttonProc && PropNames(f.push).empty());
    }
    ASSERT_EQ(f.skinner.AttachSkin(f.form), 1);
    EXPECT_EQ(Prop(f.push, L"PROCADDR"), buttonProc) << stays;
    EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
  }
  ASSERT_EQ(f.skinner.DetachSkin(f.push), 1);  // the window handed over: both leave
  EXPECT_EQ(ProcOf(f.push), buttonProc);
  ASSERT_EQ(f.skinner.AttachSkin(f.push), 1);
  Hook(f.push);  // destroyed while skinned: the subclass sees the end
  DestroyWindow(f.push);
  EXPECT_EQ(g_last[f.push], static_cast<UINT>(WM_NCDESTROY));
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 1);
}

TEST(SkinLifecycle, OwnProcedureFirstAndWindowsLeavingTheSkinInsideIt) {
  SkinForm f;
  ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
  for (HWND w : f.AllWindows()) Hook(w);
  ASSERT_EQ(f.skinner.AttachSkin(f.form), 1);
  HWND dialog = CreateTopLevel(L"#32770", WS_POPUP, 500, 0, 50, 20, f.form);
  HWND list = CreateTopLevel(L"ComboLBox", WS_POPUP, 500, 40, 50, 20);
  HWND owned = CreateTopLevel(L"Static", WS_POPUP, 500, 80, 50, 20, f.form);
  HWND form = CreateTopLevel(L"#32770", WS_POPUP, 500, 120, 50, 20), stranger = CreateTopLevel(L"Static", WS_POPUP, 0, 0, 5, 5);
  const int count = skin::Engine().skinnedWindowCount;
  void (*setHot)(HWND) = [](HWND w) { skin::SetSkinProp(w, skin::prop::kOldState, 1); };
  void (*detach)(HWND) = [](HWND w) { skin::clsSkinner().DetachSkin(w); };
  // The skin's work comes after the window's own procedure, except for activation.
  const struct { UINT message; HWND window, probe; const wchar_t* key; void (*then)(HWND); } cases[] = {
      {WM_SIZE, f.push, f.push, L"0BMP", nullptr}, {WM_WINDOWPOSCHANGING, f.listCombo, f.listCombo, L"OLDSTATE", setHot},
      {WM_ENTERIDLE, f.form, dialog, L"PROCADDR", nullptr}, {WM_CTLCOLORLISTBOX, f.form, list, L"PROCADDR", nullptr},
      {WM_ACTIVATE, f.form, owned, L"PROCADDR", nullptr}, {WM_ACTIVATE, f.form, form, L"PROCADDR", nullptr},
      {WM_SIZE, f.push, f.push, L"0BMP", detach}};
  int i = 0;
  for (const auto& c : cases) {
    ++i;
    const int live = LiveGdiHandles();
    const LONG_PTR before = Prop(c.probe, c.key);
    g_when = c.message, g_probe = c.probe, g_key = c.key, g_then = c.then;
    if (c.window == c.probe) SetWindowPos(c.window, nullptr, 200 + i, 200, 60 + i, 21 + i, SWP_NOZORDER);
    else Send(c.window, c.message, WA_ACTIVE, reinterpret_cast<LPARAM>(c.probe));
    g_when = 0;
    EXPECT_EQ(g_seen == before, c.message != WM_ACTIVATE) << c.message;
    EXPECT_NE(Prop(c.probe, c.key), c.then == setHot ? 1 : before) << c.message;
    EXPECT_TRUE(c.then != detach || (LiveGdiHandles() == live - 8 && PropNames(c.window).empty()));
  }
  Send(f.form, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(stranger));  // neither owned nor a form
  EXPECT_EQ(PropNames(stranger), Names{});
  for (HWND w : {dialog, list, owned, form, stranger}) DestroyWindow(w);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 1) << "the button detached above";
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
  // A nested form skinned before its parent: every window counted once.
  const int all = skin::Engine().skinnedWindowCount;
  HWND inner = CreateChild(f.form, L"ThunderRT6FormDC", 0, 0, 300, 200, 90, 60);
  CreateChild(inner, L"Button", BS_PUSHBUTTON, 0, 5, 5, 60, 20);
  ASSERT_EQ(skinner.DetachSkin(f.form), 1);
  ASSERT_EQ(skinner.AttachSkin(inner) + skinner.AttachSkin(f.form), 2);
  const int count = skin::Engine().skinnedWindowCount;
  EXPECT_EQ(count, all + 2);
  const HDC current = skin::Engine().images.mark;

  // Windows of another thread, one carrying a copy's "PROCADDR", are left alone.
  static HWND foreign;
  static HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr), done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, [](void*) -> DWORD {
    foreign = CreateTopLevel(L"#32770", WS_POPUP, 600, 0, 40, 40);
    SetPropW(foreign, L"PROCADDR", reinterpret_cast<HANDLE>(&DefWindowProcW));
    SetEvent(ready);
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) PumpFor(0);
    return 0;
  }, nullptr, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
  const LONG_PTR foreignProc = ProcOf(foreign);
  EXPECT_EQ(skinner.AttachSkin(foreign) + skinner.DetachSkin(foreign), 0);
  EXPECT_EQ(ProcOf(foreign), foreignProc);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
  SetEvent(done);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);

  // A message box the form opens is skinned while it waits and unskinned when it closes.
  static int during, ticks;
  SetTimer(f.form, 7, 50, [](HWND form, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", L"skin box");
    if (!box || (!GetPropW(box, L"PROCADDR") && ++ticks < 40)) return;
    during = skin::Engine().skinnedWindowCount;
    KillTimer(form, id);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(f.form, L"text", L"skin box", MB_OK);
  EXPECT_GT(during, count + 1) << "the box and its controls";
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);

  HWND doomed = CreateChild(f.form, L"Button", BS_PUSHBUTTON, 0, 300, 100, 40, 20);  // dies while prepared
  Hook(doomed);
  g_when = BM_SETSTYLE, g_probe = doomed, g_then = [](HWND w) { DestroyWindow(w); };
  const int live = LiveGdiHandles();
  EXPECT_EQ(skinner.AttachSkin(doomed), 0);
  g_when = 0;
  EXPECT_EQ(LiveGdiHandles(), live);

  // Destroyed while skinned, also under a subclass that keeps WM_DESTROY: surfaces go along.
  Hook(f.second);
  for (HWND b : {f.push, f.second}) {
    g_swallow = b == f.second ? WM_DESTROY : 0;
    const HGDIOBJ surface = reinterpret_cast<HGDIOBJ>(Prop(b, L"2BMP"));
    DestroyWindow(b);
    EXPECT_EQ(GetObjectType(surface), 0u);
  }
  g_swallow = 0;
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 2);
  DestroyWindow(f.form);
  f.form = nullptr;
  f.attached = false;
  EXPECT_FALSE(skin::Engine().started);
  EXPECT_EQ(GetObjectType(current), 0u);
}

TEST(SkinLeaks, ThousandsOfCyclesKeepTheProcessGdiHandles) {
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
