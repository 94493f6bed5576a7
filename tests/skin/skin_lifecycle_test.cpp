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

using Names = std::vector<std::wstring>;
LONG_PTR ProcOf(HWND w) { return GetWindowLongPtrW(w, GWLP_WNDPROC); }

// The skin's keys only: the system keeps lower-case ones of its own.
Names PropNames(HWND window) {
  Names names;
  EnumPropsExW(window, [](HWND, LPWSTR name, HANDLE, ULONG_PTR list) -> BOOL {
    if (!IS_INTRESOURCE(name) && std::wstring(name).find_first_of(L"abcdefghijklmnopqrstuvwxyz_") == std::wstring::npos) {
      reinterpret_cast<Names*>(list)->push_back(name);
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&names));
  std::sort(names.begin(), names.end());
  return names;
}

// The form's children, then the form.
std::vector<HWND> AllWindows(HWND form) {
  std::vector<HWND> windows;
  EnumChildWindows(form, [](HWND w, LPARAM list) {
    return reinterpret_cast<std::vector<HWND>*>(list)->push_back(w), TRUE;
  }, reinterpret_cast<LPARAM>(&windows));
  windows.push_back(form);
  return windows;
}

// GDI objects alive in the process, counted by asking the system about every
// handle value (independent of the skin's own bookkeeping).
int LiveGdiHandles() {
  int live = 0;
  for (UINT_PTR value = 1; value <= 0xFFFF; ++value) live += GetObjectType(reinterpret_cast<HGDIOBJ>(value)) != 0;
  return live;
}

// The faces that follow from the properties and styles (owner-drawn buttons,
// the rounded region, a disabled button's state) are the look tests' part.
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
  const LONG_PTR pushStyle = Prop(f.push, L"OLDSTYLE");
  std::map<HWND, LONG_PTR> previous;
  for (HWND w : AllWindows(f.form)) {
    EXPECT_EQ(ProcOf(w), reinterpret_cast<LONG_PTR>(&skin::SkinWndProc)) << w;
    previous[w] = Prop(w, L"PROCADDR");
  }

  // Pointer, timer, size and paint on a button, attaching again: no GDI handle more.
  const int count = skin::Engine().skinnedWindowCount, live = LiveGdiHandles();
  for (int i = 0; i < 20; ++i) {
    for (UINT m : {WM_MOUSEMOVE, WM_TIMER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSELEAVE}) Send(f.push, m, 0, Point(10, 10));
    SetWindowPos(f.push, nullptr, 0, 0, 70 + i, 23 + i % 5, SWP_NOMOVE | SWP_NOZORDER);
    RedrawWindow(f.push, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  }
  SetWindowPos(f.push, nullptr, 0, 0, 75, 23, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(f.skinner.AttachSkin(f.form), 0);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
  EXPECT_EQ(LiveGdiHandles(), live);
  // Handles the skin gave out die with detach; changes made while skinned stay.
  const HDC image = skin::Engine().images.header, surface = skin::ButtonStateSurface(f.disabled, 3);
  EnableWindow(f.push, FALSE);
  ASSERT_EQ(f.skinner.DetachSkin(f.form), 1);
  EXPECT_EQ(LiveGdiHandles(), live - 4 * 8 - 5 * 2) << "four buttons' surfaces, five images";
  EXPECT_EQ(GetObjectType(image) + GetObjectType(surface), 0u);
  for (HWND w : AllWindows(f.form)) {
    EXPECT_EQ(ProcOf(w), previous[w]) << w;
    EXPECT_TRUE(PropNames(w).empty()) << w;
  }
  RECT box;
  EXPECT_EQ(GetWindowLongPtrW(f.push, GWL_STYLE), pushStyle | WS_DISABLED);
  EXPECT_EQ(GetWindowRgnBox(f.push, &box), ERROR) << "the rounded region stayed";
  EXPECT_FALSE(skin::Engine().started);
  EXPECT_EQ(f.skinner.DetachSkin(f.form), 0);
  // Attach and detach over and over: no GDI handle more.
  f.attached = f.skinner.AttachSkin(f.form) == 1;
  Repaint(f.form);
  const int attached = LiveGdiHandles();
  for (int i = 0; i < 3; ++i) f.skinner.DetachSkin(f.form), f.skinner.AttachSkin(f.form), Repaint(f.form);
  EXPECT_EQ(LiveGdiHandles(), attached);
}

}  // namespace
