// The settings file, the keystrokes of a paste, and the clipboard offer of a
// paste that nobody takes.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

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
      {false, {}, {VK_CONTROL, 'V', -'V', -VK_CONTROL}},
      {true, {}, {'V', -'V'}},
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
      {L"a\nb\nc\n", 2, 10, 4},         // after the second line
      {L"a\nb", 2, 10, 3},                // all of it fits
      {L"a\nb\n", 2, 10, 4},
      {L"abcdefgh", 2, 3, 6},             // two lines of three characters
      {L"ab\U0001F4CEcd", 1, 3, 2},       // not between the halves of a pair
      {L"ab\U0001F4CEcd", 1, 4, 4},
      {L"ab\r\ncd", 1, 3, 2},             // nor between CR and LF
      {L"a\r\nb\r\n", 1, 10, 3},
      {L"", 1, 1, 0},
      {L"abc", 0, 5, 0}};
  for (const auto& [text, lines, lineChars, length] : cases)
    EXPECT_EQ(forms::PreviewLength(text, lines, lineChars), length) << lines << " " << lineChars;
}

TEST(PasteOffer, UntakenTextIsEmptiedButOthersDataIsLeftAlone) {
  for (bool theirs : {false, true}) {
    PutClip(CF_UNICODETEXT, L"before");
    app::PasteClipboard paste(300);
    ASSERT_TRUE(paste.Offer(L"ours"));
    ASSERT_TRUE(OpenClip());
    EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_UNICODETEXT));
    // Marked for clipboard monitors to skip and the history to leave out.
    HANDLE history = GetClipboardData(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory"));
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")));
    EXPECT_EQ(history ? *static_cast<const DWORD*>(GlobalLock(history)) : 1u, 0u);
    if (history) GlobalUnlock(history);
    CloseClipboard();
    paste.EmptyWhenTaken();
    std::thread other([theirs] { if (theirs) PutClip(CF_UNICODETEXT, L"theirs"); });
    EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }));
    other.join();
    EXPECT_EQ(ClipText(), theirs ? std::optional<std::wstring>(L"theirs") : std::nullopt);
  }
}

TEST(PasteOffer, ReadingTheClipboardAnswersAReaderWaitingForOurOwnOffer) {
  app::PasteClipboard paste;
  ASSERT_TRUE(paste.Offer(L"ours"));
  // Another reader holds the clipboard open and waits for the text to be rendered.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::optional<std::wstring> theirs;
  std::thread reader([&] {
    if (!OpenClip() || !SetEvent(opened)) return;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const void* p = data ? GlobalLock(data) : nullptr) theirs = static_cast<const wchar_t*>(p), GlobalUnlock(data);
    CloseClipboard();
  });
  EXPECT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(forms::Clipboard::GetText(), std::optional<std::wstring>(L"ours"));
  PumpUntil([&] { return theirs.has_value(); }), reader.join(), CloseHandle(opened);
  EXPECT_EQ(theirs, std::optional<std::wstring>(L"ours"));
}

}  // namespace
