// Plain-text clipboard: Unicode text, other formats, a clipboard held busy.
#include <gtest/gtest.h>

#include "clipboard_holder.h"
#include "forms/clipboard.h"

namespace {

TEST(Clipboard, TextRoundTripsInUtf16) {
  const std::wstring text = L"朔禾 \U0001F4CB line\r\nnext";
  ASSERT_TRUE(forms::Clipboard::SetText(text));
  EXPECT_EQ(forms::Clipboard::GetText(), text);
  ASSERT_TRUE(forms::Clipboard::Clear());
  EXPECT_EQ(forms::Clipboard::GetText(), std::wstring());
}

TEST(Clipboard, ImageReadsAsEmptyText) {
  HWND owner = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  EXPECT_TRUE(SetClipboardData(CF_BITMAP, bitmap));
  CloseClipboard();
  EXPECT_EQ(forms::Clipboard::GetText(), std::wstring());
  DestroyWindow(owner);
}

TEST(Clipboard, BusyClipboardReportsBusyThenRecovers) {
  ASSERT_TRUE(forms::Clipboard::SetText(L"before"));
  {
    ClipboardHolder busy;
    EXPECT_FALSE(forms::Clipboard::GetText().has_value());
    EXPECT_FALSE(forms::Clipboard::SetText(L"x"));
  }
  EXPECT_EQ(forms::Clipboard::GetText(), std::wstring(L"before"));
}

}  // namespace
