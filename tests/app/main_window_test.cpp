// The main window on real windows: start-up geometry, layout, slots, tab
// order and the geometry written at shut-down.
#include <gtest/gtest.h>

#include <vector>

#include "app/mod_ini.h"
#include "main_window_fixture.h"

namespace {

using app::FrmMain;

TEST_F(MainWindow, DesignTable) {
  FrmMain& f = Start();
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(f.lblNumber(n).Caption(), std::to_wstring(n) + L":");
    EXPECT_EQ(InParent(f.lblNumber(n).hwnd()).left, Px(120));
    EXPECT_EQ(InParent(f.lblNumber(n).hwnd()).top, Px(210 + 420 * (n - 1)));
    EXPECT_EQ(f.lblNumber(n).ForeColor(), 0x000000C0u);
    EXPECT_EQ(f.txtClip(n).ForeColor(), 0x00C00000u);
    EXPECT_EQ(f.txtClip(n).BackColor(), 0x80000018u);
    EXPECT_EQ(f.cmdGet(n).Caption(), L"赋值");
    EXPECT_EQ(f.cmdClear(n).Caption(), L"清除");
    EXPECT_EQ(InParent(f.cmdGet(n).hwnd()).top, Px(120 + 420 * (n - 1)));
    RECT box = InParent(f.txtClip(n).hwnd());
    // Slot 9 grows with the window (4500 high here): 4500 - 4110.
    EXPECT_EQ(box.bottom - box.top, forms::TwipsToPixelsY(n == 9 ? 390 : 270));
    EXPECT_EQ((GetWindowLongPtrW(f.txtClip(n).hwnd(), GWL_STYLE) & WS_VSCROLL) != 0, n == 9);
    ExpectRow(n, 3750);
  }
  EXPECT_EQ(f.Caption(), L"朔禾剪贴板 V1.3");
  EXPECT_FALSE(f.picTray().Visible());
  EXPECT_TRUE(GetWindowLongPtrW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindow, NoSettingsFileOpensAtOriginWithDefaults) {
  FrmMain& f = Start();
  RECT r = OnScreen(f.hwnd());
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, Px(3750));
  EXPECT_EQ(r.bottom - r.top, forms::TwipsToPixelsY(4500));
}

TEST_F(MainWindow, StoredValuesAreClampedAndRaised) {
  FrmMain& f = Start("[Last]\r\nWidth=3000\r\nHeight= 4300\r\nLeft=-150\r\nTop=-7\r\n");
  RECT r = OnScreen(f.hwnd());
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right - r.left, Px(3750));
  EXPECT_EQ(r.bottom - r.top, forms::TwipsToPixelsY(4425));
}

TEST_F(MainWindow, OffScreenPositionAndHugeSizeStayReachable) {
  FrmMain& f = Start("[Last]\r\nWidth= 2147483647\r\nHeight= 4500\r\nLeft= 2147483647\r\nTop= 900000\r\n");
  RECT r = OnScreen(f.hwnd());
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_GT(r.right - r.left, 0);
  EXPECT_GE(f.Width(), 3750);
  SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_GT(mod_Ini::ReadIniInt(L"Last", L"Width", 0), 3750);
}

TEST_F(MainWindow, LayoutFollowsTheWindowSize) {
  FrmMain& f = Start();
  f.SetWidth(5000);
  for (int n = 1; n <= 9; ++n) ExpectRow(n, f.Width());
  EXPECT_EQ(InParent(f.txtClip(1).hwnd()).right - InParent(f.txtClip(1).hwnd()).left, Px(3065));
  EXPECT_EQ(InParent(f.cmdGet(1).hwnd()).left, Px(3470));
  EXPECT_EQ(InParent(f.cmdClear(1).hwnd()).left, Px(4130));

  f.SetHeight(6000);
  RECT nine = InParent(f.txtClip(9).hwnd());
  EXPECT_EQ(nine.bottom - nine.top, forms::TwipsToPixelsY(1890));
  RECT eight = InParent(f.txtClip(8).hwnd());
  EXPECT_EQ(eight.bottom - eight.top, forms::TwipsToPixelsY(270));

  // Too small: back to the minimum size, and the design layout.
  f.Move(f.Left(), f.Top(), 2000, 2000);
  RECT r = OnScreen(f.hwnd());
  EXPECT_EQ(r.right - r.left, Px(3750));
  EXPECT_EQ(r.bottom - r.top, forms::TwipsToPixelsY(4425));
  for (int n = 1; n <= 9; ++n) ExpectRow(n, 3750);
  nine = InParent(f.txtClip(9).hwnd());
  EXPECT_EQ(nine.bottom - nine.top, forms::TwipsToPixelsY(315));
}

TEST_F(MainWindow, MaximisingLeavesTheLayout) {
  FrmMain& f = Start();
  f.SetWidth(4500);
  RECT before = InParent(f.txtClip(3).hwnd());
  f.SetWindowState(forms::WindowState::Maximized);
  ASSERT_EQ(f.GetWindowState(), forms::WindowState::Maximized);
  RECT after = InParent(f.txtClip(3).hwnd());
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(MainWindow, TabOrderFollowsTheTabIndexes) {
  FrmMain& f = Start();
  std::vector<int> expected;
  for (int n = 1; n <= 9; ++n) expected.push_back(FrmMain::TextBoxId(n));
  for (int n : {1, 9, 2, 3, 4, 5, 6, 7, 8}) {
    expected.push_back(FrmMain::GetButtonId(n));
    expected.push_back(FrmMain::ClearButtonId(n));
  }
  expected.push_back(FrmMain::TextBoxId(1));  // wraps around
  std::vector<int> seen;
  HWND at = f.txtClip(1).hwnd();
  seen.push_back(GetDlgCtrlID(at));
  for (size_t i = 1; i < expected.size(); ++i) {
    at = GetNextDlgTabItem(f.hwnd(), at, FALSE);
    seen.push_back(GetDlgCtrlID(at));
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(MainWindow, UnloadWritesTheGeometry) {
  FrmMain& f = Start();
  f.Move(300, 450, 5010, 6000);
  HWND hwnd = f.hwnd();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(folder.Read(L"Config.ini"),
            "[Last]\r\nWidth= 5010\r\nHeight= 6000\r\nLeft= 300\r\nTop= 450\r\n");
}

TEST_F(MainWindow, UnloadWhileMinimisedWritesTheRestoredRectangle) {
  FrmMain& f = Start();
  f.Move(600, 750, 4500, 5100);
  f.SetWindowState(forms::WindowState::Minimized);
  ASSERT_EQ(f.GetWindowState(), forms::WindowState::Minimized);
  SendMessageW(f.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Width", 0), 4500);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Height", 0), 5100);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Left", -1), 600);
  EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Top", -1), 750);
}

}  // namespace
