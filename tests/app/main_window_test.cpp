// The main window on real windows: design, geometry from and to Config.ini,
// the slots in data.mdb, the buttons, the hotkeys and the tray icon.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "app/frm_main.h"
#include "app/mod_hot_key.h"
#include "app/mod_tray.h"
#include "app/slot_store.h"
#include "forms/app.h"
#include "forms/twips.h"
#include "harness.h"
#include "skin/core/skin_wnd_proc.h"

namespace {

using app::FrmMain;
namespace hk = app::mod_HotKey;

int Px(double twips) { return forms::TwipsToPixelsX(twips); }
int Py(double twips) { return forms::TwipsToPixelsY(twips); }
RECT InParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
std::wstring TextOf(HWND hwnd) {
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::App::SetPathForTesting(dir.path.wstring());
    forms::App::SetErrorReporterForTesting(
        [this](long number, const std::wstring&) { errors.push_back(number); });
  }
  void TearDown() override {
    form.reset();
    forms::App::RestoreDefaultErrorReporter();
    forms::App::SetPathForTesting(L"");
    EXPECT_EQ(errors, expectedErrors);
  }
  FrmMain& Start(const std::string& ini = "") {
    form.reset();
    fs::remove(dir.path / L"Config.ini");
    if (!ini.empty()) PutFile(dir.path / L"Config.ini", ini);
    form = std::make_unique<FrmMain>();
    EXPECT_TRUE(form->Load());
    form->Show();
    return *form;
  }
  // The window rectangle and the rows laid out for it.
  void ExpectGeometry(double left, double top, double width, double height) {
    RECT r;
    GetWindowRect(form->hwnd(), &r);
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right - r.left, r.bottom - r.top),
              std::make_tuple(Px(left), Py(top), Px(width), Py(height)));
    for (int n = 1; n <= 9; ++n) {
      RECT box = InParent(form->txtClip(n).hwnd());
      EXPECT_EQ(box.right - box.left, Px(width - 1935)) << n;
      EXPECT_EQ(box.bottom - box.top, Py(n == 9 ? height - 4110 : 270)) << n;
      EXPECT_EQ(InParent(form->cmdGet(n).hwnd()).left, Px(width - 1530)) << n;
      EXPECT_EQ(InParent(form->cmdClear(n).hwnd()).left, Px(width - 870)) << n;
    }
  }
  void ExpectSlot(int n, const std::wstring& text) {
    EXPECT_EQ(form->txtClip(n).Text(), text) << "slot " << n;
    EXPECT_EQ(form->txtClip(n).ToolTipText(), text) << "tip " << n;
  }

  TempDir dir;
  std::unique_ptr<FrmMain> form;
  std::vector<long> errors, expectedErrors;
};

TEST_F(MainWindow, DesignLayoutColoursAndTabOrder) {
  FrmMain& f = Start();
  struct Child { int id; std::wstring text; double left, top, width, height; };
  std::vector<Child> order;  // the tab order, which is also the z-order
  for (int n = 1; n <= 9; ++n)
    order.push_back({FrmMain::LabelId(n), std::to_wstring(n) + L":", 120, 210 + 420. * (n - 1), 0, 0});
  for (int n = 1; n <= 9; ++n)
    order.push_back({FrmMain::TextBoxId(n), L"", 300, 150 + 420. * (n - 1), 1815, n == 9 ? 390. : 270});
  for (int n : {1, 9, 2, 3, 4, 5, 6, 7, 8}) {
    order.push_back({FrmMain::GetButtonId(n), L"赋值", 2220, 120 + 420. * (n - 1), 615, 315});
    order.push_back({FrmMain::ClearButtonId(n), L"清除", 2880, 120 + 420. * (n - 1), 615, 315});
  }
  order.push_back({FrmMain::kTrayPictureId, L"", 1140, 1320, 615, 555});
  HWND child = GetWindow(f.hwnd(), GW_CHILD);
  for (const Child& c : order) {
    ASSERT_NE(child, nullptr);
    RECT r = InParent(child);
    EXPECT_EQ(std::make_tuple(GetDlgCtrlID(child), TextOf(child), r.left, r.top),
              std::make_tuple(c.id, c.text, Px(c.left), Py(c.top)));
    if (c.width > 0) {
      EXPECT_EQ(std::make_tuple(r.right - r.left, r.bottom - r.top), std::make_tuple(Px(c.width), Py(c.height))) << c.id;
    }
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr);
  for (int n = 1; n <= 9; ++n)
    EXPECT_EQ(GetWindowLongPtrW(f.txtClip(n).hwnd(), GWL_STYLE) & (ES_MULTILINE | WS_VSCROLL),
              ES_MULTILINE | (n == 9 ? WS_VSCROLL : 0));
  EXPECT_EQ(TextOf(f.hwnd()), L"朔禾剪贴板 V1.3");
  EXPECT_FALSE(IsWindowVisible(f.picTray().hwnd()));
  EXPECT_TRUE(GetWindowLongPtrW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  HDC dc = CreateCompatibleDC(nullptr);
  const std::tuple<UINT, HWND, COLORREF, COLORREF> colours[] = {
      {WM_CTLCOLOREDIT, f.txtClip(4).hwnd(), RGB(0, 0, 0xC0), GetSysColor(COLOR_INFOBK)},
      {WM_CTLCOLORSTATIC, f.lblNumber(4).hwnd(), RGB(0xC0, 0, 0), GetSysColor(COLOR_BTNFACE)}};
  for (const auto& [message, control, fore, back] : colours) {
    SendMessageW(f.hwnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    EXPECT_EQ(std::make_tuple(GetTextColor(dc), GetBkColor(dc)), std::make_tuple(fore, back));
  }
  DeleteDC(dc);
}

TEST_F(MainWindow, StartUpGeometryIsReadClampedAndRaised) {
  const std::tuple<const char*, double, double, double, double> cases[] = {
      {"", 0, 0, 3750, 4500},
      {"[Last]\r\nWidth=3000\r\nHeight= 4300\r\nLeft=-150\r\nTop=-7\r\n", 0, 0, 3750, 4425},
      {"[Last]\r\nTop= 450\r\nLeft= 300\r\nHeight=4230\r\nWidth= 5010\r\n", 300, 450, 5010, 4425},
      {"[Last]\r\nWidth= 5010\r\nHeight= 6000\r\nLeft= 15\r\nTop= 30\r\n", 15, 30, 5010, 6000}};
  for (const auto& [ini, left, top, width, height] : cases) {
    SCOPED_TRACE(ini);
    Start(ini);
    ExpectGeometry(left, top, width, height);
  }
  // A place beyond every monitor is pulled back onto the screen.
  Start("[Last]\r\nLeft= 2147483647\r\nTop= 900000\r\n");
  RECT r;
  GetWindowRect(form->hwnd(), &r);
  EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
}

TEST_F(MainWindow, ResizeKeepsTheMinimumAndMaximisingKeepsTheLayout) {
  FrmMain& f = Start();
  f.Move(300, 450, 2000, 2000);
  ExpectGeometry(300, 450, 3750, 4425);
  f.Move(300, 450, 5010, 6000);
  f.SetWindowState(forms::WindowState::Maximized);
  ASSERT_TRUE(IsZoomed(f.hwnd()));
  RECT box = InParent(f.txtClip(9).hwnd());
  EXPECT_EQ(std::make_tuple(box.right - box.left, box.bottom - box.top),
            std::make_tuple(Px(5010 - 1935), Py(6000 - 4110)));
}

TEST_F(MainWindow, SlotsLoadAtStartUpAndShutDownSavesThemBeforeTheGeometry) {
  app::SlotTexts stored;
  for (int n = 1; n <= 9; ++n) stored[n - 1] = L"槽 " + std::to_wstring(n);
  for (bool minimised : {false, true}) {
    app::SaveSlots(dir.path.wstring(), stored);
    FrmMain& f = Start();
    for (int n = 1; n <= 9; ++n) ExpectSlot(n, stored[n - 1]);
    SendMessageW(f.txtClip(2).hwnd(), EM_SETSEL, 0, -1);
    SendMessageW(f.txtClip(2).hwnd(), WM_CHAR, L'禾', 1);  // typed over the whole text
    ExpectSlot(2, L"禾");
    f.txtClip(8).SetText(L"");
    f.Move(minimised ? 600 : -150, 450, 5010, 6000);
    if (minimised) f.SetWindowState(forms::WindowState::Minimized);
    f.Close();
    app::SlotTexts saved = stored;
    saved[1] = L"禾";
    saved[7] = L"";
    EXPECT_EQ(app::LoadSlots(dir.path.wstring()), saved);
    EXPECT_EQ(FileBytes(dir.path / L"Config.ini"),
              std::string("[Last]\r\nWidth= 5010\r\nHeight= 6000\r\nLeft=") +
                  (minimised ? " 600" : "-150") + "\r\nTop= 450\r\n");
  }
  // A save that fails leaves the settings file unwritten.
  FrmMain& f = Start();
  PutFile(dir.path / L"data.mdb", "not a database");
  f.Close();
  expectedErrors = {26};
  EXPECT_FALSE(fs::exists(dir.path / L"Config.ini"));
}

TEST_F(MainWindow, AssignClearAndTypingKeepTheTooltipEqualToTheText) {
  FrmMain& f = Start();
  const std::wstring text = L"剪贴 \U0001F4CE\r\n第二行";
  PutClip(CF_UNICODETEXT, text);
  SendMessageW(f.cmdGet(4).hwnd(), BM_CLICK, 0, 0);
  ExpectSlot(4, text);
  ExpectSlot(3, L"");
  EXPECT_EQ(ClipText(), text);
  SendMessageW(f.cmdClear(4).hwnd(), BM_CLICK, 0, 0);
  ExpectSlot(4, L"");
  for (UINT format : {0u, static_cast<UINT>(CF_BITMAP)}) {  // nothing, an image: no text
    f.txtClip(6).SetText(L"old");
    PutClip(format);
    SendMessageW(f.cmdGet(6).hwnd(), BM_CLICK, 0, 0);
    ExpectSlot(6, L"");
  }
  for (wchar_t c : {L'禾', L'x'}) SendMessageW(f.txtClip(2).hwnd(), WM_CHAR, c, 1);
  ExpectSlot(2, L"禾x");
  f.txtClip(7).SetText(L"keep");
  PutClip(CF_UNICODETEXT, L"new");
  {
    ClipHolder busy;
    SendMessageW(f.cmdGet(7).hwnd(), BM_CLICK, 0, 0);
  }
  ExpectSlot(7, L"keep");
}

bool KeyIsFree(UINT modifier, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7000, modifier, key)) return false;
  UnregisterHotKey(nullptr, 0x7000);
  return true;
}

TEST_F(MainWindow, HotKeysAndTheirProcedureFromStartUpToShutDown) {
  const auto procOf = [](HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)); };
  for (bool shutDown : {false, true}) {
    FrmMain& f = Start();
    if (shutDown) f.Form_Unload();
    // Running: hotkeys, then the skin, then the form; detached: the form alone.
    EXPECT_EQ(procOf(f.hwnd()), shutDown ? &forms::Form::WndProc : &hk::HotKeyWndProc);
    if (!shutDown) {
      EXPECT_EQ(hk::OldWndProc, &skin::SkinWndProc);
    }
    EXPECT_EQ(procOf(f.cmdGet(9).hwnd()) == &skin::SkinWndProc, !shutDown);
    for (int n = 1; n <= 9; ++n) {
      for (UINT modifier : {MOD_ALT, MOD_CONTROL}) {
        const UINT key = '0' + n, id = (modifier == MOD_ALT ? 148 : 248) + n;
        if (!shutDown) {
          EXPECT_FALSE(KeyIsFree(modifier, key)) << id;
          EXPECT_TRUE(UnregisterHotKey(f.hwnd(), static_cast<int>(id))) << id;
        }
        EXPECT_TRUE(KeyIsFree(modifier, key)) << id;
      }
    }
  }
}

std::vector<std::tuple<UINT, WPARAM, LPARAM>> seen;
WNDPROC realOldProc = nullptr;
LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY || message == WM_USER + 7) seen.emplace_back(message, wParam, lParam);
  if (message == WM_USER + 7) return 0x5EED;
  return CallWindowProcW(realOldProc, hwnd, message, wParam, lParam);
}

TEST_F(MainWindow, AltDigitStoresOurIdsOnlyAndEveryMessagePassesOn) {
  FrmMain& f = Start();
  for (int n = 1; n <= 9; ++n) f.txtClip(n).SetText(L"slot " + std::to_wstring(n));
  const std::wstring text = L"存入 \U0001F4CE\r\n二";
  PutClip(CF_UNICODETEXT, text);
  realOldProc = hk::OldWndProc;
  hk::OldWndProc = &Recorder;
  seen.clear();
  EXPECT_EQ(SendMessageW(f.hwnd(), WM_USER + 7, 3, 4), 0x5EED);
  const WPARAM ids[] = {static_cast<WPARAM>(-1), 148, 158, 258, 349, 151, 157};
  for (WPARAM id : ids) SendMessageW(f.hwnd(), WM_HOTKEY, id, 0x310);
  hk::OldWndProc = realOldProc;
  std::vector<std::tuple<UINT, WPARAM, LPARAM>> want = {{WM_USER + 7, 3, 4}};
  for (WPARAM id : ids) want.emplace_back(WM_HOTKEY, id, 0x310);
  EXPECT_EQ(seen, want);
  for (int n = 1; n <= 9; ++n) ExpectSlot(n, n == 3 || n == 9 ? text : L"slot " + std::to_wstring(n));
  EXPECT_EQ(ClipText(), text);

  PutClip(CF_BITMAP);
  SendMessageW(f.hwnd(), WM_HOTKEY, 149, 0);
  ExpectSlot(1, L"");
  // A clipboard held by another program leaves slot and clipboard as they were.
  PutClip(CF_UNICODETEXT, L"clipboard");
  {
    ClipHolder busy;
    SendMessageW(f.hwnd(), WM_HOTKEY, 152, 0);
    SendMessageW(f.hwnd(), WM_HOTKEY, 252, 0);
  }
  ExpectSlot(4, L"slot 4");
  EXPECT_EQ(ClipText(), L"clipboard");
  EXPECT_FALSE(f.Paste().Pending());
}

TEST_F(MainWindow, CtrlDigitPastesIntoTheActiveWindowAndEmptiesTheClipboard) {
  FrmMain& f = Start();
  HWND editor = CreateWindowExW(0, L"Edit", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE,
                                300, 300, 300, 200, nullptr, nullptr, nullptr, nullptr);
  INPUT key[2] = {};
  key[0].type = key[1].type = INPUT_KEYBOARD;
  key[0].ki.wVk = key[1].ki.wVk = 'A';
  key[1].ki.dwFlags = KEYEVENTF_KEYUP;
  // Typing reaches the editor once the desktop has made it the active window.
  for (int i = 0; i < 10 && TextOf(editor).empty(); ++i) {
    SetForegroundWindow(editor);
    SetFocus(editor);
    SendInput(2, key, sizeof(INPUT));
    PumpUntil([&] { return !TextOf(editor).empty(); }, 1000);
  }
  ASSERT_NE(TextOf(editor), L"");
  const std::wstring text = L"取出 \U0001F4CE\r\n第二行";
  f.txtClip(3).SetText(text);
  for (int slot : {4, 3}) {  // slot 4 is empty: its empty text replaces the selection
    PutClip(CF_UNICODETEXT, L"gone afterwards");
    SendMessageW(editor, EM_SETSEL, 0, -1);
    PostMessageW(f.hwnd(), WM_HOTKEY, 248 + slot, 0);
    const std::wstring want = slot == 3 ? text : L"";
    EXPECT_TRUE(PumpUntil([&] { return TextOf(editor) == want && !f.Paste().Pending(); }));
    EXPECT_EQ(TextOf(editor), want);
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_EQ(GetForegroundWindow(), editor);
  }
  DestroyWindow(editor);
}

bool IconShown(HWND window) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = window;
  probe.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

TEST_F(MainWindow, MinimisingHidesInTheTrayAndALeftButtonReleaseRestores) {
  FrmMain& f = Start("[Last]\r\nLeft= 300\r\nTop= 450\r\n");
  HWND pic = f.picTray().hwnd();
  for (int round = 0; round < 2; ++round) {
    ShowWindow(f.hwnd(), SW_MINIMIZE);
    EXPECT_TRUE(IconShown(pic));
    const NOTIFYICONDATAW& d = app::mod_Tray::TrayIconData;
    EXPECT_EQ(std::make_tuple(d.hWnd, d.uID, d.uFlags, d.uCallbackMessage, d.hIcon, std::wstring(d.szTip)),
              std::make_tuple(pic, 1u, 7u, 0x200u,
                              reinterpret_cast<HICON>(SendMessageW(f.hwnd(), WM_GETICON, ICON_SMALL, 0)),
                              std::wstring(L"朔禾剪贴板 V1.3\r\n提示：Alt+数字键赋值，Ctrl+数字键取值")));
    // Moves, other buttons and a new notification area keep it there.
    for (LPARAM m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK})
      SendMessageW(pic, 0x200, 1, m);
    SendMessageW(f.hwnd(), app::mod_Tray::TaskbarCreatedMessage(), 0, 0);
    EXPECT_FALSE(IsWindowVisible(f.hwnd()));
    EXPECT_TRUE(IconShown(pic));
    SendMessageW(pic, 0x200, 1, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(f.hwnd()));
    EXPECT_FALSE(IconShown(pic));
    ExpectGeometry(300, 450, 3750, 4500);
  }
}

}  // namespace
