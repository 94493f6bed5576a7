// The clipboard side of a paste: the offered text reaches a reader through
// delayed rendering, and the clipboard ends empty whether or not anyone took
// it, without wiping what another program put there since.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <atomic>
#include <cstring>

#include "../forms/clipboard_holder.h"
#include "app/paste_clipboard.h"
#include "forms/clipboard.h"
#include "message_pump.h"

namespace {

using app::PasteClipboard;

bool OpenRetrying() {
  for (int i = 0; i < 200; ++i) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

// Reads the clipboard from another thread, as a target window would; the
// owner's thread keeps pumping so that it can render.
class Reader {
 public:
  explicit Reader(UINT format) : thread_([this, format] { Read(format); }) {}
  ~Reader() { thread_.join(); }
  bool Done() const { return done_.load(); }
  std::wstring text;
  bool gotData = false;

 private:
  void Read(UINT format) {
    if (OpenRetrying()) {
      if (HANDLE data = GetClipboardData(format)) {
        gotData = true;
        if (format == CF_TEXT) {
          const char* bytes = static_cast<const char*>(GlobalLock(data));
          if (bytes) text.assign(bytes, bytes + strlen(bytes));
        } else {
          const wchar_t* chars = static_cast<const wchar_t*>(GlobalLock(data));
          if (chars) text = chars;
        }
        GlobalUnlock(data);
      }
      CloseClipboard();
    }
    done_ = true;
  }
  std::atomic<bool> done_{false};
  std::thread thread_;
};

bool ClipboardIsEmpty() { return CountClipboardFormats() == 0; }

TEST(PasteClipboard, ReaderGetsTheTextAndTheClipboardEndsEmpty) {
  ASSERT_TRUE(forms::Clipboard::SetText(L"before"));
  // Nobody would wait this long: an empty clipboard below means the reader's
  // taking emptied it.
  PasteClipboard paste(60000);
  const std::wstring text = L"粘贴 \U0001F4CE\r\n第二行";
  ASSERT_TRUE(paste.Offer(text));
  EXPECT_TRUE(paste.Pending());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  paste.EmptyWhenTaken();
  {
    Reader reader(CF_UNICODETEXT);
    EXPECT_TRUE(PumpUntil([&] { return reader.Done(); }));
    EXPECT_TRUE(reader.gotData);
    EXPECT_EQ(reader.text, text);
  }
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }, 10000));
  EXPECT_TRUE(ClipboardIsEmpty());
  EXPECT_EQ(forms::Clipboard::GetText(), L"");
}

TEST(PasteClipboard, AnsiReaderIsServedFromTheSameOffer) {
  PasteClipboard paste(60000);
  ASSERT_TRUE(paste.Offer(L"plain ascii"));
  paste.EmptyWhenTaken();
  {
    Reader reader(CF_TEXT);
    EXPECT_TRUE(PumpUntil([&] { return reader.Done(); }));
    EXPECT_EQ(reader.text, L"plain ascii");
  }
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }, 10000));
  EXPECT_TRUE(ClipboardIsEmpty());
}

TEST(PasteClipboard, UntakenOfferIsEmptiedAfterItsTime) {
  ASSERT_TRUE(forms::Clipboard::SetText(L"before"));
  PasteClipboard paste(100);
  ASSERT_TRUE(paste.Offer(L"nobody reads this"));
  paste.EmptyWhenTaken();
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }));
  EXPECT_FALSE(paste.Taken());
  EXPECT_TRUE(ClipboardIsEmpty());
}

TEST(PasteClipboard, DataPutThereSinceIsLeftAlone) {
  PasteClipboard paste(100);
  ASSERT_TRUE(paste.Offer(L"ours"));
  paste.EmptyWhenTaken();
  std::thread other([] {
    if (!OpenRetrying()) return;
    EmptyClipboard();
    const wchar_t text[] = L"theirs";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    memcpy(GlobalLock(block), text, sizeof(text));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
  });
  // The other thread's EmptyClipboard sends WM_DESTROYCLIPBOARD to our owner.
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }));
  other.join();
  PumpFor(300);  // well past the untaken time
  EXPECT_EQ(forms::Clipboard::GetText(), L"theirs");
}

TEST(PasteClipboard, SecondOfferReplacesTheFirst) {
  PasteClipboard paste(60000);
  ASSERT_TRUE(paste.Offer(L"first"));
  paste.EmptyWhenTaken();
  ASSERT_TRUE(paste.Offer(L"second"));
  paste.EmptyWhenTaken();
  Reader reader(CF_UNICODETEXT);
  EXPECT_TRUE(PumpUntil([&] { return reader.Done(); }));
  EXPECT_EQ(reader.text, L"second");
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }, 10000));
}

TEST(PasteClipboard, BusyClipboardIsLeftAsItWas) {
  ASSERT_TRUE(forms::Clipboard::SetText(L"keep"));
  PasteClipboard paste;
  {
    ClipboardHolder busy;
    EXPECT_FALSE(paste.Offer(L"new"));
  }
  EXPECT_FALSE(paste.Pending());
  EXPECT_EQ(forms::Clipboard::GetText(), L"keep");
}

TEST(PasteClipboard, OfferGoneWithItsOwnerLeavesTheClipboardEmpty) {
  {
    PasteClipboard paste(60000);
    ASSERT_TRUE(paste.Offer(L"pending"));
    paste.EmptyWhenTaken();
  }
  EXPECT_TRUE(ClipboardIsEmpty());
}

}  // namespace
