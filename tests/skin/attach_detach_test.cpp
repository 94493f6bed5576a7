#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

#include "skin/clsSkinner.h"
#include "skin/core/engine_state.h"
#include "skin/core/skin_window.h"
#include "skin/core/skin_wnd_proc.h"
#include "skin/core/track_mouse_probe.h"
#include "skin/core/window_props.h"
#include "skin/render/gdi_handles.h"
#include "skin_test_form.h"

namespace {

const LONG_PTR kSkinProc = reinterpret_cast<LONG_PTR>(&skin::SkinWndProc);

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// The window's skin properties (the system keeps some of its own).
std::vector<std::wstring> SkinProps(HWND window) {
  static const std::vector<std::wstring> known = {
      L"PROCADDR", L"OLDSTYLE", L"MOUSEFLAG", L"TIMERID", L"OLDSTATE", L"ALPHALEVEL",
      L"HDINDEX",  L"HMINDEX",  L"0HDC",      L"1HDC",    L"2HDC",     L"3HDC",
      L"0BMP",     L"1BMP",     L"2BMP",      L"3BMP"};
  std::vector<std::wstring> names;
  for (const std::wstring& name : PropertyNames(window)) {
    if (std::find(known.begin(), known.end(), name) != known.end()) names.push_back(name);
  }
  return Sorted(names);
}

std::vector<std::wstring> ButtonKeys() {
  return Sorted({L"PROCADDR", L"OLDSTYLE", L"MOUSEFLAG", L"TIMERID", L"OLDSTATE", L"ALPHALEVEL",
                 L"0HDC", L"1HDC", L"2HDC", L"3HDC", L"0BMP", L"1BMP", L"2BMP", L"3BMP"});
}

class SkinAttach : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(ui.form, nullptr) << "test form not created"; }
  void TearDown() override { skinner.DetachSkin(ui.form); }

  SkinTestForm ui;
  skin::clsSkinner skinner;
};

TEST_F(SkinAttach, EveryWindowGetsTheSkinAndTheCountFollows) {
  const auto windows = ui.AllWindows();
  std::map<HWND, LONG_PTR> before;
  for (HWND w : windows) before[w] = ProcOf(w);

  EXPECT_EQ(skinner.AttachSkin(ui.form), 1);
  EXPECT_TRUE(skin::Engine().started);
  EXPECT_NE(skin::Engine().images.buttonFace, nullptr);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, static_cast<int>(windows.size()));
  for (HWND w : windows) {
    EXPECT_EQ(ProcOf(w), kSkinProc) << w;
    EXPECT_EQ(skin::GetSkinProp(w, skin::prop::kProcAddr), before[w]) << w;
  }

  const HDC images = skin::Engine().images.buttonFace;
  EXPECT_EQ(skinner.AttachSkin(ui.form), 0);
  EXPECT_EQ(skinner.AttachSkin(ui.pushButton), 0);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, static_cast<int>(windows.size()));
  EXPECT_EQ(skin::Engine().images.buttonFace, images) << "images built again";

  EXPECT_EQ(skinner.DetachSkin(ui.form), 1);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, 0);
  EXPECT_FALSE(skin::Engine().started);
  EXPECT_EQ(skin::Engine().images.buttonFace, nullptr);
  EXPECT_EQ(GetObjectType(images), 0u) << "image surface not deleted";
  for (HWND w : windows) {
    EXPECT_EQ(ProcOf(w), before[w]) << w;
    EXPECT_TRUE(SkinProps(w).empty()) << w;
  }
  EXPECT_EQ(skinner.DetachSkin(ui.form), 0);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, 0);
}

TEST_F(SkinAttach, EachKindCarriesItsPropertiesUntilDetach) {
  const LONG_PTR pushStyle = GetWindowLongPtrW(ui.pushButton, GWL_STYLE);
  const LONG_PTR checkStyle = GetWindowLongPtrW(ui.checkStyleButton, GWL_STYLE);
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);

  EXPECT_EQ(SkinProps((ui.pushButton)), ButtonKeys());
  EXPECT_EQ(SkinProps((ui.checkStyleButton)), ButtonKeys());
  EXPECT_EQ(skin::GetSkinProp(ui.pushButton, skin::prop::kOldStyle), pushStyle);
  EXPECT_EQ(GetWindowLongPtrW(ui.pushButton, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  EXPECT_EQ(GetWindowLongPtrW(ui.checkStyleButton, GWL_STYLE), checkStyle);
  EXPECT_EQ(skin::GetSkinProp(ui.pushButton, skin::prop::kOldState), 0);
  EXPECT_EQ(skin::GetSkinProp(ui.disabledButton, skin::prop::kOldState), 3);
  for (int n = 0; n < 4; ++n) {
    HDC dc = reinterpret_cast<HDC>(skin::GetSkinProp(
        ui.pushButton, skin::StateSurfaceKey(n, skin::StateSurface::DeviceContext).c_str()));
    HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(skin::GetSkinProp(
        ui.pushButton, skin::StateSurfaceKey(n, skin::StateSurface::Bitmap).c_str()));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap) << n;
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 75);
    EXPECT_EQ(info.bmHeight, 23);
  }

  const std::vector<std::wstring> stateKeys = Sorted({L"PROCADDR", L"MOUSEFLAG", L"OLDSTATE"});
  for (HWND w : {ui.simpleCombo, ui.dropDownCombo, ui.listCombo, ui.driveList, ui.checkBox,
                 ui.optionButton}) {
    EXPECT_EQ(SkinProps((w)), stateKeys) << w;
  }
  EXPECT_EQ(SkinProps((ui.header)), Sorted({L"PROCADDR", L"MOUSEFLAG", L"HDINDEX", L"HMINDEX"}));
  EXPECT_EQ(skin::GetSkinProp(ui.header, skin::prop::kHeaderDownIndex), -1);
  EXPECT_EQ(skin::GetSkinProp(ui.header, skin::prop::kHeaderHotIndex), -1);
  for (HWND w : {ui.form, ui.progressBar, ui.sunkenEdit, ui.grid, ui.dataList}) {
    EXPECT_EQ(SkinProps(w), std::vector<std::wstring>{L"PROCADDR"}) << w;
  }

  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(ui.pushButton, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, 1, 1));
  EXPECT_TRUE(PtInRegion(region, 74, 11));

  ASSERT_EQ(skinner.DetachSkin(ui.form), 1);
  for (HWND w : ui.AllWindows()) EXPECT_TRUE(SkinProps(w).empty()) << w;
  EXPECT_EQ(GetWindowLongPtrW(ui.pushButton, GWL_STYLE), pushStyle);
  EXPECT_EQ(GetWindowLongPtrW(ui.checkStyleButton, GWL_STYLE), checkStyle);
  EXPECT_EQ(GetWindowRgn(ui.pushButton, region), ERROR) << "region left on the button";
  DeleteObject(region);
}

TEST_F(SkinAttach, DetachKeepsChangesMadeWhileSkinnedAndDropsLaterProcedures) {
  const LONG_PTR formProc = ProcOf(ui.form);
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  // A procedure chained over the skin's, as the hotkey procedure is.
  SetWindowLongPtrW(ui.form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  EnableWindow(ui.pushButton, FALSE);
  ShowWindow(ui.disabledButton, SW_HIDE);

  ASSERT_EQ(skinner.DetachSkin(ui.form), 1);
  EXPECT_EQ(ProcOf(ui.form), formProc);
  EXPECT_FALSE(IsWindowEnabled(ui.pushButton)) << "disabled button enabled again by detach";
  EXPECT_FALSE(IsWindowVisible(ui.disabledButton)) << "hidden button shown again by detach";
  EXPECT_EQ(GetWindowLongPtrW(ui.pushButton, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(SkinAttach, ResizedButtonGetsNewBitmapsImagesAndRegion) {
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  const long live = skin::LiveGdiObjects();
  std::vector<HGDIOBJ> old;
  for (int n = 0; n < 4; ++n) {
    old.push_back(reinterpret_cast<HGDIOBJ>(skin::GetSkinProp(
        ui.pushButton, skin::StateSurfaceKey(n, skin::StateSurface::Bitmap).c_str())));
  }
  SetWindowPos(ui.pushButton, nullptr, 0, 0, 120, 30, SWP_NOMOVE | SWP_NOZORDER);
  PumpAndPaint(ui.form);

  for (int n = 0; n < 4; ++n) {
    HDC dc = reinterpret_cast<HDC>(skin::GetSkinProp(
        ui.pushButton, skin::StateSurfaceKey(n, skin::StateSurface::DeviceContext).c_str()));
    HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(skin::GetSkinProp(
        ui.pushButton, skin::StateSurfaceKey(n, skin::StateSurface::Bitmap).c_str()));
    EXPECT_NE(bitmap, old[n]);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    EXPECT_EQ(GetObjectType(old[n]), 0u) << "old bitmap " << n << " not deleted";
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 120);
    EXPECT_EQ(info.bmHeight, 30);
  }
  EXPECT_EQ(skin::LiveGdiObjects(), live);

  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(ui.pushButton, region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 118, 28));
  EXPECT_FALSE(PtInRegion(region, 119, 29));
  DeleteObject(region);

  // The face is drawn at the new size: the bottom border lies on the last row.
  WindowPixels shown(ui.pushButton);
  EXPECT_EQ(shown.At(60, 29), 0x00D58F1Bu);
  EXPECT_EQ(shown.At(0, 15), 0x00D58F1Bu);
  EXPECT_EQ(shown.At(60, 28), 0x00F1E0CCu);  // row 19 of the face, column 3

  ASSERT_EQ(skinner.DetachSkin(ui.form), 1);
  EXPECT_EQ(skin::LiveGdiObjects(), live - 3 * 8);  // three buttons on the form
}

TEST_F(SkinAttach, DestroyedWindowsLeaveTheSkinTheirOwnWay) {
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  const int count = skin::Engine().skinnedWindowCount;
  const long live = skin::LiveGdiObjects();
  DestroyWindow(ui.pushButton);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count - 1);
  EXPECT_EQ(skin::LiveGdiObjects(), live - 8);

  HDC images = skin::Engine().images.header;
  DestroyWindow(ui.form);
  ui.form = nullptr;
  EXPECT_EQ(skin::Engine().skinnedWindowCount, 0);
  EXPECT_FALSE(skin::Engine().started);
  EXPECT_EQ(GetObjectType(images), 0u);
  EXPECT_EQ(skin::LiveGdiObjects(), live - 8 * 3);
}

TEST_F(SkinAttach, WindowsThatAppearLaterAreSkinnedOnce) {
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  const int count = skin::Engine().skinnedWindowCount;

  // Activation with no other window only reaches the previous procedure.
  SendMessageW(ui.form, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);

  HWND owned = CreateTopLevel(L"Static", WS_POPUP, 0, 500, 0, 50, 20, ui.form);
  HWND dialog = CreateTopLevel(L"#32770", WS_POPUP, 0, 500, 40, 50, 20);
  HWND stranger = CreateTopLevel(L"Static", WS_POPUP, 0, 500, 80, 50, 20);
  ASSERT_TRUE(owned && dialog && stranger);
  SendMessageW(ui.form, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(owned));
  SendMessageW(ui.form, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(dialog));
  SendMessageW(ui.form, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(stranger));
  EXPECT_EQ(ProcOf(owned), kSkinProc);
  EXPECT_EQ(ProcOf(dialog), kSkinProc);
  EXPECT_NE(ProcOf(stranger), kSkinProc);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count + 2);

  // The drop-down list of a combo box is skinned when it asks for colours.
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(ui.listCombo, &info));
  SendMessageW(ui.listCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
  for (int i = 0; i < 2; ++i) {
    SendMessageW(ui.listCombo, CB_SHOWDROPDOWN, TRUE, 0);
    PumpAndPaint(ui.form);
    SendMessageW(ui.listCombo, CB_SHOWDROPDOWN, FALSE, 0);
    PumpAndPaint(ui.form);
  }
  EXPECT_EQ(ProcOf(info.hwndList), kSkinProc);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count + 3);

  DestroyWindow(owned);
  DestroyWindow(dialog);
  DestroyWindow(stranger);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count + 1);
}

// Checks a message box while it is shown, then closes it.
struct BoxCheck {
  HWND owner = nullptr;
  bool seen = false;
  bool ownedByForm = false;
  bool boxSkinned = false;
  COLORREF buttonBorder = CLR_INVALID;
  int count = 0;
};
BoxCheck g_box;

BOOL CALLBACK FindBoxButton(HWND window, LPARAM) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpiW(name, L"Button") == 0 && ProcOf(window) == kSkinProc) {
    UpdateWindow(window);
    const SIZE size = WindowSize(window);
    g_box.buttonBorder = WindowPixels(window).At(0, size.cy / 2);
  }
  return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return;
  KillTimer(nullptr, id);
  g_box.seen = true;
  g_box.ownedByForm = GetWindow(box, GW_OWNER) == g_box.owner;
  g_box.boxSkinned = ProcOf(box) == kSkinProc;
  EnumChildWindows(box, FindBoxButton, 0);
  g_box.count = skin::Engine().skinnedWindowCount;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinAttach, MessageBoxIsSkinnedWhileShown) {
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  const int count = skin::Engine().skinnedWindowCount;
  g_box = BoxCheck{};
  g_box.owner = ui.form;
  SetTimer(nullptr, 0, 300, InspectBox);
  MessageBoxW(ui.form, L"测试", L"skin", MB_OK);
  ASSERT_TRUE(g_box.seen) << "message box never found";
  EXPECT_TRUE(g_box.ownedByForm);
  EXPECT_TRUE(g_box.boxSkinned);
  EXPECT_EQ(g_box.buttonBorder, 0x00D58F1Bu) << "message box button not drawn by the skin";
  EXPECT_GT(g_box.count, count + 1);
  EXPECT_EQ(skin::Engine().skinnedWindowCount, count);
}

TEST_F(SkinAttach, WindowsOfOtherThreadsAreLeftAlone) {
  HWND foreign = nullptr;
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread owner([&] {
    foreign = CreateTopLevel(L"#32770", WS_POPUP, 0, 600, 0, 40, 40);
    SetEvent(created);
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    DestroyWindow(foreign);
  });
  WaitForSingleObject(created, 5000);
  ASSERT_NE(foreign, nullptr);
  const LONG_PTR proc = ProcOf(foreign);

  EXPECT_EQ(skinner.AttachSkin(foreign), 0);
  EXPECT_EQ(skin::SkinWindow(foreign), 0);
  EXPECT_EQ(ProcOf(foreign), proc);
  EXPECT_TRUE(SkinProps(foreign).empty());
  EXPECT_EQ(skin::Engine().skinnedWindowCount, 0);

  SetEvent(done);
  owner.join();
  CloseHandle(created);
  CloseHandle(done);
}

TEST_F(SkinAttach, NullHandleStillStartsTheEngineOnce) {
  EXPECT_EQ(skinner.AttachSkin(nullptr), 0);
  EXPECT_TRUE(skin::Engine().started);
  EXPECT_TRUE(skin::Engine().hasTrackMouseEvent);
  const HDC images = skin::Engine().images.mark;
  EXPECT_NE(images, nullptr);
  EXPECT_EQ(skinner.DetachSkin(nullptr), 0);
  EXPECT_EQ(skinner.DetachSkin(ui.form), 0);
  EXPECT_EQ(skin::Engine().images.mark, images) << "never-skinned detach released the images";

  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  EXPECT_EQ(skin::Engine().images.mark, images);
  ASSERT_EQ(skinner.DetachSkin(ui.form), 1);
  EXPECT_FALSE(skin::Engine().started);
  // A later attach probes and builds again.
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  EXPECT_TRUE(skin::Engine().started);
  EXPECT_NE(skin::Engine().images.mark, nullptr);
}

TEST_F(SkinAttach, LostProcAddrFallsBackToDefaultProcessing) {
  ASSERT_EQ(skinner.AttachSkin(ui.form), 1);
  const LRESULT limit = SendMessageW(ui.sunkenEdit, EM_GETLIMITTEXT, 0, 0);
  EXPECT_NE(limit, 0);
  const LONG_PTR previous = skin::GetSkinProp(ui.sunkenEdit, skin::prop::kProcAddr);
  skin::RemoveSkinProp(ui.sunkenEdit, skin::prop::kProcAddr);
  EXPECT_EQ(SendMessageW(ui.sunkenEdit, EM_GETLIMITTEXT, 0, 0), 0);
  EXPECT_EQ(skin::SkinWndProc(nullptr, WM_GETTEXTLENGTH, 0, 0), 0);
  skin::SetSkinProp(ui.sunkenEdit, skin::prop::kProcAddr, previous);
  EXPECT_EQ(SendMessageW(ui.sunkenEdit, EM_GETLIMITTEXT, 0, 0), limit);
}

TEST(SkinProbe, AnswersFromLoadedAndUnloadedModules) {
  EXPECT_TRUE(skin::HasUser32TrackMouseEvent("TrackMouseEvent", L"User32"));
  // A system without user32's TrackMouseEvent: the answer is false.
  EXPECT_FALSE(skin::HasUser32TrackMouseEvent("TrackMouseEvent", L"kernel32"));
  EXPECT_FALSE(skin::HasUser32TrackMouseEvent("TrackMouseEvent", L"no_such_module_4711"));

  // A module that is not loaded yet is loaded for the question.
  struct Export {
    const wchar_t* module;
    const char* function;
  };
  int asked = 0;
  for (const Export& e : {Export{L"msacm32", "acmGetVersion"}, Export{L"mscms", "OpenColorProfileW"},
                          Export{L"avifil32", "AVIFileInit"}}) {
    if (GetModuleHandleW(e.module)) continue;
    EXPECT_TRUE(skin::HasUser32TrackMouseEvent(e.function, e.module)) << e.function;
    EXPECT_FALSE(skin::HasUser32TrackMouseEvent("TrackMouseEvent", e.module));
    ++asked;
  }
  EXPECT_GT(asked, 0) << "no unloaded module to ask";
  HMODULE user32 = GetModuleHandleW(L"user32");
  skin::HasUser32TrackMouseEvent("TrackMouseEvent", L"user32");
  EXPECT_EQ(GetModuleHandleW(L"user32"), user32);
}

}  // namespace
