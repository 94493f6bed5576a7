// The main window's slots and the clipboard: assign, clear, tooltips, a
// clipboard held busy by another thread.
#include "../forms/clipboard_holder.h"
#include "forms/clipboard.h"
#include "main_window_fixture.h"

namespace {

using app::FrmMain;

TEST_F(MainWindow, AssignAndClearKeepTooltipEqualToText) {
  FrmMain& f = Start();
  const std::wstring text = L"剪贴 \U0001F4CE\r\n第二行";
  ASSERT_TRUE(forms::Clipboard::SetText(text));
  SendMessageW(f.cmdGet(4).hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.txtClip(4).Text(), text);
  EXPECT_EQ(f.txtClip(4).ToolTipText(), text);
  EXPECT_EQ(forms::Clipboard::GetText(), text);  // the clipboard is left as it was

  SendMessageW(f.cmdClear(4).hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.txtClip(4).Text(), L"");
  EXPECT_EQ(f.txtClip(4).ToolTipText(), L"");

  // Typing changes the tooltip with every keystroke.
  SendMessageW(f.txtClip(2).hwnd(), WM_CHAR, L'禾', 1);
  EXPECT_EQ(f.txtClip(2).ToolTipText(), L"禾");
  SendMessageW(f.txtClip(2).hwnd(), WM_CHAR, L'x', 1);
  EXPECT_EQ(f.txtClip(2).ToolTipText(), L"禾x");
}

TEST_F(MainWindow, AssignWithoutTextEmptiesTheSlot) {
  FrmMain& f = Start();
  f.txtClip(5).SetText(L"old");
  ASSERT_TRUE(forms::Clipboard::Clear());
  SendMessageW(f.cmdGet(5).hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.txtClip(5).Text(), L"");

  f.txtClip(6).SetText(L"old");
  ASSERT_TRUE(OpenClipboard(f.hwnd()));
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, 8, 8));
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  SendMessageW(f.cmdGet(6).hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(f.txtClip(6).Text(), L"");
  EXPECT_EQ(f.txtClip(6).ToolTipText(), L"");
}

TEST_F(MainWindow, BusyClipboardLeavesTheSlotAsItWas) {
  FrmMain& f = Start();
  f.txtClip(7).SetText(L"keep me");
  ASSERT_TRUE(forms::Clipboard::SetText(L"new"));
  {
    ClipboardHolder busy;
    SendMessageW(f.cmdGet(7).hwnd(), BM_CLICK, 0, 0);
  }
  EXPECT_EQ(f.txtClip(7).Text(), L"keep me");
  EXPECT_EQ(f.txtClip(7).ToolTipText(), L"keep me");
  EXPECT_TRUE(IsWindow(f.hwnd()));
}

}  // namespace
