// The hotkeys on the real main window: registration and its release, the
// procedure chained in front of the window's, Alt+digit storing, Ctrl+digit
// pasting into the active window, and the tray icon's round trip.
#include <string>
#include <vector>

#include "../forms/clipboard_holder.h"
#include "app/mod_hot_key.h"
#include "app/mod_tray.h"
#include "forms/clipboard.h"
#include "main_window_fixture.h"
#include "skin/core/skin_wnd_proc.h"
#include "message_pump.h"

namespace {

using app::FrmMain;
namespace hk = app::mod_HotKey;

// Whether Alt/Ctrl+digit can be registered by someone else right now.
bool KeyIsFree(UINT modifier, int digit) {
  if (!RegisterHotKey(nullptr, 0x7000, modifier, static_cast<UINT>('0' + digit))) return false;
  UnregisterHotKey(nullptr, 0x7000);
  return true;
}

TEST_F(MainWindow, EighteenKeysHeldWhileRunningAndFreedAtShutDown) {
  Start();
  for (int n = 1; n <= 9; ++n) {
    EXPECT_FALSE(KeyIsFree(MOD_ALT, n)) << "Alt+" << n;
    EXPECT_FALSE(KeyIsFree(MOD_CONTROL, n)) << "Ctrl+" << n;
  }
  EXPECT_TRUE(KeyIsFree(MOD_ALT, 0));
  EXPECT_TRUE(KeyIsFree(MOD_ALT | MOD_CONTROL, 3));
  form->Close();
  for (int n = 1; n <= 9; ++n) {
    EXPECT_TRUE(KeyIsFree(MOD_ALT, n)) << "Alt+" << n;
    EXPECT_TRUE(KeyIsFree(MOD_CONTROL, n)) << "Ctrl+" << n;
  }
}

TEST_F(MainWindow, KeyHeldByAnotherIsLeftOutSilently) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 0x7001, MOD_ALT, '5'));
  FrmMain& f = Start();
  EXPECT_FALSE(hk::AddSlotHotKey(1, '5'));
  EXPECT_FALSE(KeyIsFree(MOD_CONTROL, 5));
  EXPECT_FALSE(KeyIsFree(MOD_ALT, 4));
  // Shut-down's attempt to free the key it never got does not take ours.
  f.Close();
  EXPECT_FALSE(KeyIsFree(MOD_ALT, 5));
  EXPECT_TRUE(UnregisterHotKey(nullptr, 0x7001));
}

// Start-up puts the hotkey procedure in front of the skin's, which is in front
// of the form's own; shut-down's detach takes both out again.
TEST_F(MainWindow, MessagesRunThroughHotKeysThenSkinThenTheForm) {
  FrmMain& f = Start();
  HWND h = f.hwnd();
  const auto procOf = [](HWND w) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)); };
  EXPECT_EQ(procOf(h), &hk::HotKeyWndProc);
  EXPECT_EQ(hk::OldWndProc, &skin::SkinWndProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropW(h, L"PROCADDR")), &forms::Form::WndProc);
  for (int n : {1, 9}) {
    EXPECT_EQ(procOf(f.cmdGet(n).hwnd()), &skin::SkinWndProc) << "assign button " << n;
    EXPECT_EQ(procOf(f.txtClip(n).hwnd()), &skin::SkinWndProc) << "text box " << n;
  }

  f.Form_Unload();
  EXPECT_EQ(procOf(h), &forms::Form::WndProc);
  EXPECT_EQ(GetPropW(h, L"PROCADDR"), nullptr);
  EXPECT_NE(procOf(f.cmdGet(1).hwnd()), &skin::SkinWndProc);
  EXPECT_EQ(GetPropW(f.cmdGet(1).hwnd(), L"PROCADDR"), nullptr);
  // The form still answers through its own procedure.
  EXPECT_TRUE(IsWindow(h));
  EXPECT_EQ(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(wcslen(L"朔禾剪贴板 V1.3")));
}

// Stands at the end of the chain in place of the window's own procedure.
struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> seen;
WNDPROC realOldProc = nullptr;

LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY || message == WM_USER + 7) {
    seen.push_back({message, wParam, lParam});
    if (message == WM_USER + 7) return 0x5EED;
  }
  return CallWindowProcW(realOldProc, hwnd, message, wParam, lParam);
}

TEST_F(MainWindow, ChainPassesEveryMessageOnAndActsOnOurIdsOnly) {
  FrmMain& f = Start();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(f.hwnd(), GWLP_WNDPROC)),
            &hk::HotKeyWndProc);
  realOldProc = hk::OldWndProc;
  hk::OldWndProc = &Recorder;
  seen.clear();
  ASSERT_TRUE(forms::Clipboard::SetText(L"stored"));
  for (int n = 1; n <= 9; ++n) f.txtClip(n).SetText(L"slot " + std::to_wstring(n));

  EXPECT_EQ(SendMessageW(f.hwnd(), WM_USER + 7, 3, 4), 0x5EED);
  const WPARAM ids[] = {static_cast<WPARAM>(-1), static_cast<WPARAM>(-2), 0, 100, 148, 158,
                        199, 248, 258, 300, 349, 150};
  for (WPARAM id : ids) SendMessageW(f.hwnd(), WM_HOTKEY, id, MAKELPARAM(MOD_ALT, '2'));
  hk::OldWndProc = realOldProc;

  ASSERT_EQ(seen.size(), 1 + std::size(ids));
  EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_USER + 7));
  EXPECT_EQ(seen[0].wParam, 3u);
  EXPECT_EQ(seen[0].lParam, 4);
  for (size_t i = 0; i < std::size(ids); ++i) {
    EXPECT_EQ(seen[i + 1].message, static_cast<UINT>(WM_HOTKEY));
    EXPECT_EQ(seen[i + 1].wParam, ids[i]);
    EXPECT_EQ(seen[i + 1].lParam, MAKELPARAM(MOD_ALT, '2'));
  }
  // Only the last id (Alt+2) is one of ours.
  for (int n = 1; n <= 9; ++n)
    EXPECT_EQ(f.txtClip(n).Text(), n == 2 ? L"stored" : L"slot " + std::to_wstring(n));
  EXPECT_EQ(forms::Clipboard::GetText(), L"stored");
  EXPECT_FALSE(f.Paste().Pending());
}

TEST_F(MainWindow, AltDigitStoresTheClipboardText) {
  FrmMain& f = Start();
  const std::wstring text = L"存入 \U0001F4CE\r\nline two";
  ASSERT_TRUE(forms::Clipboard::SetText(text));
  SendMessageW(f.hwnd(), WM_HOTKEY, 151, 0);
  EXPECT_EQ(f.txtClip(3).Text(), text);
  EXPECT_EQ(f.txtClip(3).ToolTipText(), text);
  EXPECT_EQ(forms::Clipboard::GetText(), text);

  // An empty clipboard (an image is no text either): the slot empties.
  f.txtClip(9).SetText(L"old");
  ASSERT_TRUE(forms::Clipboard::Clear());
  SendMessageW(f.hwnd(), WM_HOTKEY, 157, 0);
  EXPECT_EQ(f.txtClip(9).Text(), L"");
}

TEST_F(MainWindow, BusyClipboardLeavesSlotAndClipboardAsTheyWere) {
  FrmMain& f = Start();
  f.txtClip(4).SetText(L"slot text");
  ASSERT_TRUE(forms::Clipboard::SetText(L"clipboard text"));
  {
    ClipboardHolder busy;
    SendMessageW(f.hwnd(), WM_HOTKEY, 152, 0);  // Alt+4
    SendMessageW(f.hwnd(), WM_HOTKEY, 252, 0);  // Ctrl+4
  }
  EXPECT_EQ(f.txtClip(4).Text(), L"slot text");
  EXPECT_EQ(forms::Clipboard::GetText(), L"clipboard text");
  EXPECT_FALSE(f.Paste().Pending());
  EXPECT_TRUE(IsWindow(f.hwnd()));
}

// A plain editor window of this process, active and focused.
class Editor {
 public:
  Editor() {
    hwnd_ = CreateWindowExW(0, L"Edit", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE | ES_MULTILINE, 300,
                            300, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
  }
  ~Editor() { DestroyWindow(hwnd_); }
  std::wstring Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
  }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST_F(MainWindow, CtrlDigitPastesIntoTheActiveWindowAndEmptiesTheClipboard) {
  FrmMain& f = Start();
  const std::wstring text = L"取出 \U0001F4CE\r\n第二行";
  f.txtClip(3).SetText(text);
  ASSERT_TRUE(forms::Clipboard::SetText(L"gone afterwards"));
  Editor editor;
  PumpFor(200);
  PostMessageW(f.hwnd(), WM_HOTKEY, 251, 0);
  EXPECT_TRUE(PumpUntil([&] { return editor.Text() == text; }));
  EXPECT_EQ(editor.Text(), text);
  EXPECT_TRUE(PumpUntil([&] { return !f.Paste().Pending(); }));
  EXPECT_EQ(CountClipboardFormats(), 0);
  EXPECT_EQ(f.txtClip(3).Text(), text);
  // The main window stays as it was; nothing is brought forward.
  EXPECT_EQ(GetForegroundWindow(), editor.hwnd());

  // An empty slot pastes nothing and still leaves the clipboard empty.
  ASSERT_TRUE(forms::Clipboard::SetText(L"gone too"));
  PostMessageW(f.hwnd(), WM_HOTKEY, 252, 0);
  PumpFor(100);
  EXPECT_TRUE(PumpUntil([&] { return !f.Paste().Pending(); }));
  EXPECT_EQ(editor.Text(), text);
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(MainWindow, TrayRoundTripRestoresTheWindow) {
  FrmMain& f = Start();
  RECT before = OnScreen(f.hwnd());
  ShowWindow(f.hwnd(), SW_MINIMIZE);
  // Wine's desktop process provides the notification area for the tests.
  ASSERT_TRUE(f.InTray());
  EXPECT_FALSE(f.Visible());
  // Moves and other buttons do nothing.
  HWND pic = f.picTray().hwnd();
  for (UINT m : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK})
    SendMessageW(pic, app::mod_Tray::kCallbackMessage, app::mod_Tray::kIconId, m);
  EXPECT_TRUE(f.InTray());
  EXPECT_FALSE(f.Visible());
  // The shell coming back while in the tray keeps it there.
  SendMessageW(f.hwnd(), app::mod_Tray::TaskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(f.InTray());
  EXPECT_FALSE(f.Visible());

  SendMessageW(pic, app::mod_Tray::kCallbackMessage, app::mod_Tray::kIconId, WM_LBUTTONUP);
  EXPECT_FALSE(f.InTray());
  EXPECT_TRUE(f.Visible());
  EXPECT_EQ(f.GetWindowState(), forms::WindowState::Normal);
  RECT after = OnScreen(f.hwnd());
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
  // The icon went with the restore: deleting it again fails.
  EXPECT_FALSE(app::mod_Tray::DeleteIcon());

  ShowWindow(f.hwnd(), SW_MINIMIZE);
  EXPECT_TRUE(f.InTray());
  EXPECT_FALSE(f.Visible());
}

}  // namespace
