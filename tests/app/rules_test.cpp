// The settings file, the keystrokes of a paste, the clipboard side of a
// paste, and reading the clipboard from a slow owner.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "app/clipboard/clipboard_text_reader.h"
#include "app/data_folder.h"
#include "app/mod_ini.h"
#include "app/clipboard/paste_clipboard.h"
#include "app/clipboard/paste_target.h"
#include "app/profile_text.h"
#include "app/tip_text.h"
#include "forms/clipboard.h"
#include "forms/keystroke_sender.h"
#include "forms/text_preview.h"
#include "harness.h"
#include "slow_owner.h"

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

// Where the files live: beside the program while its folder takes files;
// else the user's own folder, which starts from the newest of the old files
// beside the program and in the VirtualStore place, those left as they were.
TEST(DataFolder, BesideTheProgramOrTheUsersOwnFolderStartingFromTheNewestOldFiles) {
  EXPECT_EQ(app::VirtualStoreFolder(L"C:\\Program Files\\朔禾", L"D:\\L"), L"D:\\L\\VirtualStore\\Program Files\\朔禾");
  EXPECT_EQ(app::VirtualStoreFolder(L"\\\\server\\share", L"D:\\L"), L"");
  enum Old { kNone, kBeside, kVirtual, kBothBesideNewer, kBothVirtualNewer };
  for (Old old : {kNone, kBeside, kVirtual, kBothBesideNewer, kBothVirtualNewer}) {
    TempDir dir;
    const fs::path program = dir.path / L"Program Files" / L"朔禾", local = dir.path / L"Local";
    const fs::path virtualized = app::VirtualStoreFolder(program.wstring(), local.wstring());
    fs::create_directories(program), fs::create_directories(virtualized);
    const auto put = [](const fs::path& file, const std::string& bytes, int age) {
      PutFile(file, bytes), fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(age));
    };
    if (old == kBeside || old >= kBothBesideNewer) put(program / L"data.mdb", "beside", old == kBothVirtualNewer ? 2 : 1);
    if (old >= kVirtual) put(virtualized / L"data.mdb", "virtual", old == kBothBesideNewer ? 2 : 1);
    if (old == kVirtual) put(virtualized / L"Config.ini", "[Last]", 1);
    EXPECT_EQ(app::ChooseDataFolder(program.wstring(), local.wstring()).path, program.wstring()) << old;
    const app::DataFolder chosen = app::ChooseDataFolder(program.wstring(), local.wstring(), [](const std::wstring&) { return false; });
    EXPECT_EQ(std::make_tuple(chosen.path, chosen.perUser), std::make_tuple((local / L"朔禾剪贴板").wstring(), true)) << old;
    const std::string want[] = {"", "beside", "virtual", "beside", "virtual"};
    EXPECT_TRUE(app::PrepareDataFolder(chosen)) << old;
    EXPECT_EQ(FileBytes(local / L"朔禾剪贴板" / L"data.mdb"), want[old]) << old;
    EXPECT_EQ(fs::exists(local / L"朔禾剪贴板" / L"Config.ini"), old == kVirtual) << old;
    // The old files are only read; the per-user folder keeps its own from now on.
    EXPECT_EQ(FileBytes(program / L"data.mdb") + FileBytes(virtualized / L"data.mdb"),
              std::string(old == kBeside || old >= kBothBesideNewer ? "beside" : "") + (old >= kVirtual ? "virtual" : ""));
    const app::DataFolder again = app::ChooseDataFolder(program.wstring(), local.wstring(), [](const std::wstring&) { return false; });
    EXPECT_EQ(std::make_tuple(again.slotSource, app::PrepareDataFolder(again)), std::make_tuple(std::wstring(), false)) << old;
  }
  // Asking leaves nothing behind.
  TempDir asked;
  EXPECT_TRUE(app::FolderTakesFiles(asked.path.wstring()));
  EXPECT_TRUE(fs::is_empty(asked.path));
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
  std::optional<ClipReader> target;
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
    ClipReader first(0), second(600);
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

TEST(PasteOffer, AReaderThatComesAfterTheOfferHasItsTurnAndTheNextPasteWaitsLonger) {
  // The quiet floor (scaled up here) lets a reader that comes some time after
  // the offer in before the keystroke; the default floor covers one that a
  // system timer tick (15.6 ms) delays.
  EXPECT_GE(app::PasteTiming().quietMs, 16ul);
  app::PasteTiming timing;
  timing.quietMs = 1500, timing.quietMaxMs = timing.readersMaxMs = 4000, timing.untakenMs = timing.keepMs = 100;
  DWORD keystrokeAt = 0;
  app::PasteClipboard paste(timing, [&] { keystrokeAt = GetTickCount(); });
  EXPECT_EQ(paste.QuietMs(), 1500ul);
  bool over = false;
  paste.Paste(L"ours", nullptr, [&] { over = true; });
  PumpUntil([] { return false; }, 800);
  ClipReader late(0);
  EXPECT_TRUE(PumpUntil([&] { return over && late.done; }, 10000));
  EXPECT_TRUE(keystrokeAt != 0 && keystrokeAt >= late.closedAt) << keystrokeAt - late.closedAt;
  // It came 800 ms or more after the offer: the next paste waits twice that,
  // more than the floor.
  EXPECT_TRUE(paste.QuietMs() >= 1600 && paste.QuietMs() <= 4000) << paste.QuietMs();
}

// What becomes of an offer: taken late by a slow target, left untaken,
// replaced by another program's data, given up when the user went to another
// window before or after the keystroke, never sent into an elevated target
// (the text waits for the user's own Ctrl+V), or never made while the
// clipboard stays held open. Data another program put there is left alone.
TEST(PasteOffer, WhatBecomesOfAnOfferTheUserIsToldWhatCouldNotBeSent) {
  HWND target = ActiveEditor(), other = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(target, nullptr);
  enum Case { kSlow, kUntaken, kTheirs, kMovedOn, kElsewhere, kElevated, kBusy };
  using Notices = std::vector<app::PasteNotice>;
  using Text = std::optional<std::wstring>;
  const Text none, ours = L"ours";
  // Keystrokes, what the user is told, the target's read, the clipboard after.
  const std::map<Case, std::tuple<int, Notices, Text, Text>> want = {
      {kSlow, {1, {}, ours, none}}, {kUntaken, {1, {}, none, none}}, {kTheirs, {1, {}, none, L"theirs"}},
      {kMovedOn, {1, {}, none, none}}, {kElsewhere, {0, {}, none, none}},
      {kElevated, {0, {app::PasteNotice::Elevated}, ours, none}},
      {kBusy, {0, {app::PasteNotice::ClipboardBusy}, none, L"before"}}};
  for (const auto& [c, expected] : want) {
    SetForegroundWindow(target);
    PutClip(CF_UNICODETEXT, L"before");
    app::PasteTiming timing;
    timing.untakenMs = timing.openTimeoutMs = 300, timing.graceMs = 100, timing.keepMs = c == kUntaken ? 600 : 10000;
    int keystrokes = 0;
    bool over = false;
    std::optional<ClipReader> reader;  // the target's read, late (a slow target, the user's own Ctrl+V)
    Notices told;
    app::PasteClipboard paste(
        timing, [&] { ++keystrokes; },
        [c = c](HWND) { return c == kElevated ? app::TargetAccess::Elevated : app::TargetAccess::Reachable; },
        [&](app::PasteNotice notice) { told.push_back(notice); });
    std::optional<ClipHolder> holder;
    if (c == kBusy) holder.emplace();
    paste.Paste(L"ours", target, [&] { over = true; });
    if (c == kElsewhere) SetForegroundWindow(other);
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
    if (c != kBusy && c != kElsewhere) PumpUntil([&] { return keystrokes == 1 || !told.empty(); });
    std::optional<std::thread> theirs;
    if (c == kTheirs) theirs.emplace([] { PutClip(CF_UNICODETEXT, L"theirs"); });
    if (c == kSlow || c == kElevated) {
      // The next action need not wait for a slow target, nor for the user's own Ctrl+V.
      EXPECT_TRUE(PumpUntil([&] { return over; })) << c;
      reader.emplace(0);
    }
    if (c == kMovedOn) SetForegroundWindow(other);
    EXPECT_TRUE(PumpUntil([&] { return over && !paste.Pending() && (!reader || reader->done); })) << c;
    if (theirs) theirs->join();
    holder.reset();
    EXPECT_EQ(std::make_tuple(keystrokes, told, reader ? reader->text : none, ClipText()), expected) << c;
  }
  DestroyWindow(other), DestroyWindow(target);
}

// The target's reads come from its own process and from those of the windows
// inside it (a Store app's frame, a WebView2 host); whether keystrokes reach
// it is decided by the integrity levels.
TEST(PasteTarget, ReadersAreTheProcessesOfTheWindowAndOfEveryWindowInsideIt) {
  HWND top = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
  HWND frame = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 9, 9, top, nullptr, nullptr, nullptr);
  HWND guest = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 9, 9, frame, nullptr, nullptr, nullptr);
  HWND own = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 9, 9, top, nullptr, nullptr, nullptr);
  const std::map<HWND, DWORD> process = {{top, 10}, {frame, 10}, {guest, 20}, {own, 10}};
  const auto lookup = [&](HWND w) { return process.at(w); };
  EXPECT_EQ(app::TargetProcesses(top, lookup), (std::vector<DWORD>{10, 20}));
  EXPECT_EQ(app::TargetProcesses(guest, lookup), std::vector<DWORD>{20});
  EXPECT_EQ(app::TargetProcesses(top), std::vector<DWORD>{GetCurrentProcessId()});
  EXPECT_EQ(app::TargetProcesses(nullptr), std::vector<DWORD>{});
  DestroyWindow(top);
  using A = app::TargetAccess;
  const DWORD low = SECURITY_MANDATORY_LOW_RID, medium = SECURITY_MANDATORY_MEDIUM_RID, high = SECURITY_MANDATORY_HIGH_RID;
  const std::tuple<std::optional<DWORD>, std::optional<DWORD>, A> levels[] = {
      {medium, medium, A::Reachable}, {low, medium, A::Reachable},          {high, medium, A::Elevated},
      {std::nullopt, medium, A::Elevated}, {high, std::nullopt, A::Reachable}, {high, high, A::Reachable}};
  for (const auto& [theirs, ours, access] : levels) EXPECT_EQ(app::AccessFor(theirs, ours), access) << theirs.value_or(0);
  // This process, and Wine's desktop program beside it, stand level.
  EXPECT_NE(app::IntegrityLevelOf(GetCurrentProcess()), std::nullopt);
  EXPECT_EQ(app::AccessOf(GetDesktopWindow()), A::Reachable);
}

TEST(ClipboardReader, WaitsForASlowOwnerOffThisThreadAndGivesUpOnAHungOne) {
  using Outcome = app::ClipboardRead::Outcome;
  for (bool hung : {false, true}) {
    SlowOwner owner;
    app::ClipboardTextReader reader(app::ReadTiming{5000, hung ? 300ul : 20000ul});
    std::optional<app::ClipboardRead> got;
    reader.Read([&](app::ClipboardRead read) { got = read; });
    // The owner has been asked and is still rendering, yet this thread runs on.
    EXPECT_TRUE(owner.AwaitAsked());
    EXPECT_TRUE(!got && reader.Busy());
    if (!hung) owner.Release();
    ASSERT_TRUE(PumpUntil([&] { return got.has_value(); }, 10000));
    EXPECT_EQ(std::make_tuple(got->outcome, got->text),
              hung ? std::make_tuple(Outcome::NoAnswer, std::wstring()) : std::make_tuple(Outcome::Text, std::wstring(L"late 迟到")));
    if (!hung) continue;
    // Released late: the answer given up on stays dropped, and the next read gets the text.
    owner.Release(), got.reset();
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
