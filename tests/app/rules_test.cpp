// The settings file, the keystrokes of a paste, the clipboard side of a
// paste, and reading the clipboard from a slow owner.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "app/clipboard_text_reader.h"
#include "app/mod_ini.h"
#include "app/paste_clipboard.h"
#include "app/profile_text.h"
#include "app/tip_text.h"
#include "forms/clipboard.h"
#include "forms/keystroke_sender.h"
#include "forms/text_preview.h"
#include "harness.h"

namespace {

TEST(Settings, PathAndFileWithForeignTextAndValuesWrittenInPlace) {
  using Writes = std::vector<std::tuple<const wchar_t*, const wchar_t*, int>>;
  const std::tuple<const char*, int, Writes, std::string> cases[] = {
      {nullptr, 3750,
       {{L"Last", L"Width", 3750}, {L"Last", L"Height", 4425}, {L"Last", L"Left", -150}, {L"Last", L"Top", 0},
        {L"Last", L"Width", 5000}},
       "[Last]\r\nWidth= 5000\r\nHeight= 4425\r\nLeft=-150\r\nTop= 0\r\n"},
      {"; c\r\n[Other]\r\nWidth=1\r\n\r\n[ last ]\r\nwidth = 2000\r\nColour=red\r\n\r\n[Tail]\nx=1", 2000,
       {{L"Last", L"Width", 3750}, {L"Last", L"Top", 15}, {L"New", L"Left", 1}},
       "; c\r\n[Other]\r\nWidth=1\r\n\r\n[ last ]\r\nWidth= 3750\r\nColour=red\r\nTop= 15\r\n\r\n"
       "[Tail]\nx=1\r\n[New]\r\nLeft= 1\r\n"},
      {"\xEF\xBB\xBF[Last]\r\nWidth=-4000", -4000, {{L"Last", L"Width", 4000}}, "\xEF\xBB\xBF[Last]\r\nWidth= 4000"},
      {"", 3750, {}, ""}};
  EXPECT_EQ(mod_Ini::IniPathFor(L"C:\\"), L"C:\\Config.ini");
  EXPECT_EQ(mod_Ini::IniPathFor(L"C:\\朔禾"), L"C:\\朔禾\\Config.ini");
  for (const auto& [before, widthRead, writes, after] : cases) {
    TempDir dir;
    // The last case's folder cannot take the file: nothing is written.
    mod_Ini::SetIniPath((dir.path / (after.empty() ? L"missing\\Config.ini" : L"Config.ini")).wstring());
    if (before) PutFile(mod_Ini::IniPath(), before);
    EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Width", 3750), widthRead) << after;
    EXPECT_EQ(mod_Ini::ReadIniInt(L"Last", L"Height", 4500), 4500) << after;
    for (const auto& [section, key, value] : writes) mod_Ini::WriteIniInt(section, key, value);
    if (after.empty()) mod_Ini::WriteIniInt(L"Last", L"Width", 5000);
    EXPECT_EQ(FileBytes(mod_Ini::IniPath()), after);
  }
  // A read that fails (a handle that may not read) is no end of file.
  TempDir dir;
  PutFile(dir.path / L"Config.ini", "[Last]");
  HANDLE file = CreateFileW((dir.path / L"Config.ini").c_str(), FILE_WRITE_DATA, 7, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(mod_Ini::ReadToEnd(file), std::nullopt);
  CloseHandle(file);
}

TEST(Keystrokes, CtrlKeyAroundWhatTheUserHolds) {
  // Key and down (+) or up (-) of each event, for Ctrl held or not and Shift held.
  const std::tuple<bool, std::vector<WORD>, std::vector<int>> cases[] = {
      {false, {}, {VK_CONTROL, 'V', -'V', -VK_CONTROL}}, {true, {}, {'V', -'V'}},
      {false, {VK_LSHIFT}, {-VK_LSHIFT, VK_CONTROL, 'V', -'V', -VK_CONTROL, VK_LSHIFT}}};
  for (const auto& [control, others, want] : cases) {
    std::vector<int> got;
    for (const INPUT& in : forms::CtrlKeyInputs('V', {control, others})) {
      got.push_back(in.ki.dwFlags & KEYEVENTF_KEYUP ? -in.ki.wVk : in.ki.wVk);
    }
    EXPECT_EQ(got, want) << control << others.size();
  }
}

TEST(SlotTip, ShortTextWholeLongTextCutWithEllipsis) {
  using S = std::wstring;
  S lines;
  for (int i = 0; i < 25; ++i) lines += L"a\r\n";
  const std::pair<S, S> cases[] = {
      {L"abc", L"abc"}, {S(512, L'x'), S(512, L'x')}, {S(513, L'x'), S(512, L'x') + L"…"},
      {lines.substr(0, 24 * 3 - 2), lines.substr(0, 24 * 3 - 2)}, {lines, lines.substr(0, 24 * 3 - 2) + L"…"},
      {S(511, L'x') + L"\U0001F4CE", S(511, L'x') + L"…"}, {S(510, L'x') + L"\U0001F4CE", S(510, L'x') + L"\U0001F4CE"}};
  for (const auto& [text, tip] : cases) EXPECT_EQ(app::SlotTipText(text), tip) << text.size();
}

TEST(TextPreview, CutAfterTheLastLineOrTheLastCharacterThatFillsTheBoxNeverInsideAPair) {
  const std::tuple<const wchar_t*, size_t, size_t, size_t> cases[] = {
      {L"a\nb\nc\n", 2, 10, 4}, {L"a\nb", 2, 10, 3}, {L"a\nb\n", 2, 10, 4},  // after the second line, or all of it
      {L"abcdefgh", 2, 3, 6},                                                // two lines of three characters
      {L"ab\U0001F4CEcd", 1, 3, 2}, {L"ab\U0001F4CEcd", 1, 4, 4},            // not between the halves of a pair
      {L"ab\r\ncd", 1, 3, 2}, {L"a\r\nb\r\n", 1, 10, 3},                     // nor between CR and LF
      {L"", 1, 1, 0}, {L"abc", 0, 5, 0}};
  for (const auto& [text, lines, lineChars, length] : cases)
    EXPECT_EQ(forms::PreviewLength(text, lines, lineChars), length) << lines << " " << lineChars;
}

// A reader of every clipboard change, on a thread and with a window of its
// own: opens the clipboard, asks for the text, keeps the clipboard open holdMs
// longer.
struct Reader {
  explicit Reader(DWORD holdMs) : thread([this, holdMs] {
    HWND window = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (OpenClip(window)) {
      HANDLE data = GetClipboardData(CF_UNICODETEXT);
      if (const void* p = data ? GlobalLock(data) : nullptr) text = static_cast<const wchar_t*>(p), GlobalUnlock(data);
      Sleep(holdMs);
      closedAt = GetTickCount();
      CloseClipboard();
    }
    DestroyWindow(window);
    done = true;
  }) {}
  ~Reader() { thread.join(); }
  std::optional<std::wstring> text;
  DWORD closedAt = 0;
  std::atomic<bool> done{false};
  std::thread thread;
};

DWORD FlagOf(const wchar_t* format) {
  HANDLE data = GetClipboardData(RegisterClipboardFormatW(format));
  const void* p = data ? GlobalLock(data) : nullptr;
  const DWORD value = p ? *static_cast<const DWORD*>(p) : 1;
  if (p) GlobalUnlock(data);
  return value;
}

TEST(PasteOffer, ReadersHaveTheirTurnAndGetNothingThenTheTargetsReadGetsTheText) {
  PutClip(CF_UNICODETEXT, L"before");
  DWORD keystrokeAt = 0;
  bool openAtKeystroke = true;
  std::optional<Reader> target;
  app::PasteTiming timing;
  timing.quietMs = 300, timing.readersMaxMs = 10000, timing.graceMs = 300;
  app::PasteClipboard paste(timing, [&] {
    keystrokeAt = GetTickCount(), openAtKeystroke = GetOpenClipboardWindow() != nullptr;
    target.emplace(0);  // the target's paste reads after the keystroke
  });
  // The target: a window of this process that is the active one.
  HWND editor = ActiveEditor();
  ASSERT_NE(editor, nullptr);
  bool over = false;
  paste.Paste(L"ours 粘贴", editor, [&] { over = true; });
  ASSERT_TRUE(paste.Pending());
  {
    // Two readers at once; the second keeps the clipboard open past the quiet time.
    Reader first(0), second(600);
    ASSERT_TRUE(PumpUntil([&] { return over && target && target->done; }, 10000));
    EXPECT_EQ(std::make_tuple(first.text, second.text), std::make_tuple(std::optional<std::wstring>(), std::optional<std::wstring>()));
    EXPECT_TRUE(keystrokeAt >= second.closedAt && !openAtKeystroke) << keystrokeAt - second.closedAt;
  }
  EXPECT_EQ(target->text, std::optional<std::wstring>(L"ours 粘贴"));
  EXPECT_EQ(paste.RefusedReads(), 2);
  target.reset();
  // Taken: it stays for the grace time, then the clipboard ends empty.
  EXPECT_TRUE(paste.Taken());
  EXPECT_EQ(ClipText(), std::optional<std::wstring>(L"ours 粘贴"));
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }));
  EXPECT_EQ(CountClipboardFormats(), 0);
  DestroyWindow(editor);
}

TEST(PasteOffer, AReaderThatComesLateMakesTheNextPasteWaitLonger) {
  app::PasteTiming timing;
  timing.quietMs = 500, timing.quietMaxMs = 2000, timing.untakenMs = 100;
  app::PasteClipboard paste(timing, [] {});
  EXPECT_EQ(paste.QuietMs(), 500ul);
  bool over = false;
  paste.Paste(L"ours", nullptr, [&] { over = true; });
  PumpUntil([] { return false; }, 300);
  Reader late(0);
  EXPECT_TRUE(PumpUntil([&] { return over && late.done; }, 10000));
  // It came 300 ms or more after the offer: the next paste waits twice that.
  EXPECT_TRUE(paste.QuietMs() >= 600 && paste.QuietMs() <= 2000) << paste.QuietMs();
}

// An offer nobody takes is emptied, but data another program put there since
// is left alone; nothing is sent when another window is active by then, or
// while the clipboard stays held open.
TEST(PasteOffer, UntakenOrUnsentTextIsEmptiedButOthersDataIsLeftAlone) {
  HWND elsewhere = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  enum Case { kUntaken, kTheirs, kElsewhere, kBusy };
  for (Case c : {kUntaken, kTheirs, kElsewhere, kBusy}) {
    PutClip(CF_UNICODETEXT, L"before");
    app::PasteTiming timing;
    timing.untakenMs = timing.openTimeoutMs = 300;
    int keystrokes = 0;
    bool over = false;
    app::PasteClipboard paste(timing, [&] { ++keystrokes; });
    std::optional<ClipHolder> holder;
    if (c == kBusy) holder.emplace();
    paste.Paste(L"ours", c == kElsewhere ? elsewhere : nullptr, [&] { over = true; });
    if (c == kUntaken) {
      ASSERT_TRUE(OpenClip());
      EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_UNICODETEXT));
      // Marked for clipboard monitors to skip, the history and the cloud to leave out.
      EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")));
      EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"Clipboard Viewer Ignore")));
      EXPECT_EQ(std::make_pair(FlagOf(L"CanIncludeInClipboardHistory"), FlagOf(L"CanUploadToCloudClipboard")),
                std::make_pair(0ul, 0ul));
      CloseClipboard();
    }
    std::optional<std::thread> other;
    if (c == kTheirs) PumpUntil([&] { return keystrokes == 1; }), other.emplace([] { PutClip(CF_UNICODETEXT, L"theirs"); });
    EXPECT_TRUE(PumpUntil([&] { return over && !paste.Pending(); }));
    if (other) other->join();
    holder.reset();
    const std::optional<std::wstring> left = c == kTheirs ? L"theirs" : c == kBusy ? L"before" : std::optional<std::wstring>();
    EXPECT_EQ(std::make_tuple(keystrokes, ClipText()), std::make_tuple(c == kUntaken || c == kTheirs ? 1 : 0, left)) << c;
  }
  DestroyWindow(elsewhere);
}

TEST(ClipboardReader, WaitsForASlowOwnerOffThisThreadAndGivesUpOnAHungOne) {
  using Outcome = app::ClipboardRead::Outcome;
  for (bool hung : {false, true}) {
    SlowOwner owner;
    app::ClipboardTextReader reader(app::ReadTiming{5000, hung ? 300ul : 20000ul});
    std::optional<app::ClipboardRead> got;
    reader.Read([&](app::ClipboardRead read) { got = read; });
    // The owner has been asked and is still rendering, yet this thread runs on.
    EXPECT_EQ(WaitForSingleObject(owner.asked, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(!got && reader.Busy());
    if (!hung) SetEvent(owner.release);
    ASSERT_TRUE(PumpUntil([&] { return got.has_value(); }, 10000));
    EXPECT_EQ(std::make_tuple(got->outcome, got->text),
              hung ? std::make_tuple(Outcome::NoAnswer, std::wstring()) : std::make_tuple(Outcome::Text, std::wstring(L"late 迟到")));
    if (!hung) continue;
    // Released late: the answer given up on stays dropped, and the next read gets the text.
    SetEvent(owner.release), got.reset();
    reader.Read([&](app::ClipboardRead read) { got = read; });
    ASSERT_TRUE(PumpUntil([&] { return got.has_value(); }, 10000));
    EXPECT_EQ(std::make_tuple(got->outcome, got->text), std::make_tuple(Outcome::Text, std::wstring(L"late 迟到")));
  }
  // A clipboard held open all along: busy.
  ClipHolder holder;
  app::ClipboardTextReader reader(app::ReadTiming{300, 10000});
  std::optional<app::ClipboardRead> got;
  reader.Read([&](app::ClipboardRead read) { got = read; });
  ASSERT_TRUE(PumpUntil([&] { return got.has_value(); }));
  EXPECT_EQ(got->outcome, Outcome::Busy);
}

}  // namespace
