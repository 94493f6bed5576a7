// The rules beneath the window: the settings file, hotkey ids, the tray
// callback, the Ctrl+V keystroke and the clipboard offer of a paste.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <tuple>
#include <vector>

#include "app/hot_key_id.h"
#include "app/mod_ini.h"
#include "app/mod_tray.h"
#include "app/paste_clipboard.h"
#include "app/profile_text.h"
#include "forms/keystroke_sender.h"
#include "harness.h"

namespace {

TEST(Settings, PathAndIntegerReading) {
  EXPECT_EQ(mod_Ini::IniPathFor(L"C:\\"), L"C:\\Config.ini");
  EXPECT_EQ(mod_Ini::IniPathFor(L"C:\\朔禾"), L"C:\\朔禾\\Config.ini");
  const std::tuple<const char*, int> reads[] = {{" 3750", 3750}, {"2000", 2000}, {"-150", -150},
                                                {"+7", 7}, {"12ab", 12}, {"ab", 0}, {"", 99},
                                                {"9999999999", INT_MAX}, {"-9999999999", INT_MIN}};
  for (auto [text, value] : reads) EXPECT_EQ(app::ParseProfileInt(text, 99), value) << text;
}

TEST(Settings, FileKeepsForeignTextAndWritesValuesInPlace) {
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
}

TEST(HotKeyId, GroupIsTheFloorOfIdOverHundredAndSlotTheRest) {
  const std::tuple<int, int64_t, int64_t> ids[] = {{149, 1, 1},  {157, 1, 9},    {249, 2, 1},  {257, 2, 9},
                                                   {-1, -1, 51}, {-101, -2, 51}, {99, 0, 51}, {158, 1, 10}};
  for (auto [id, group, slot] : ids)
    EXPECT_EQ(std::make_tuple(app::HotKeyGroup(id), app::HotKeySlot(id)), std::make_tuple(group, slot)) << id;
}

TEST(TrayCallback, MessageFromTheScaledCoordinate) {
  using forms::ScaleMode;
  const std::tuple<double, ScaleMode, double, int> cases[] = {
      {514 * 15., ScaleMode::Twips, 15, 514},   {514 * 12., ScaleMode::Twips, 12, 514},
      {514.5 * 15, ScaleMode::Twips, 15, 514},  {515.5 * 15, ScaleMode::Twips, 15, 516},
      {513.6, ScaleMode::Pixels, 15, 514}};
  for (auto [x, mode, twipsPerPixel, message] : cases)
    EXPECT_EQ(app::mod_Tray::CallbackMessage(x, mode, twipsPerPixel), message) << x;
}

TEST(CtrlKeystroke, FitsTheModifiersTheUserHolds) {
  // Each event: virtual key, +0x1000 when released, +0x2000 when extended.
  const std::pair<forms::HeldModifiers, std::vector<int>> cases[] = {
      {{false, {}}, {VK_CONTROL, 'V', 'V' + 0x1000, VK_CONTROL + 0x1000}},
      {{true, {VK_RMENU, VK_LSHIFT}}, {VK_RMENU + 0x3000, VK_LSHIFT + 0x1000, 'V', 'V' + 0x1000, VK_LSHIFT, VK_RMENU + 0x2000}}};
  for (const auto& [held, want] : cases) {
    std::vector<int> got;
    for (const INPUT& in : forms::CtrlKeyInputs('V', held))
      got.push_back(in.ki.wVk + ((in.ki.dwFlags & KEYEVENTF_KEYUP) ? 0x1000 : 0) +
                    ((in.ki.dwFlags & KEYEVENTF_EXTENDEDKEY) ? 0x2000 : 0) + (in.type != INPUT_KEYBOARD));
    EXPECT_EQ(got, want);
  }
}

TEST(PasteOffer, ReadersOfEitherTextFormatGetItAndTheClipboardEndsEmpty) {
  const std::wstring text = L"粘贴 \U0001F4CE\r\n第二行";
  for (UINT format : {0u, static_cast<UINT>(CF_UNICODETEXT), static_cast<UINT>(CF_TEXT)}) {
    PutClip(CF_UNICODETEXT, L"before");
    // An untaken offer waits 300 ms, a taken one far longer than any test.
    app::PasteClipboard paste(format ? 60000 : 300);
    ASSERT_TRUE(paste.Offer(format == CF_TEXT ? L"plain ascii" : text));
    ASSERT_TRUE(OpenClip());
    EXPECT_EQ(EnumClipboardFormats(0), static_cast<UINT>(CF_UNICODETEXT));
    CloseClipboard();
    paste.EmptyWhenTaken();
    if (format) {  // read from another thread, as a target window would, while this one renders
      std::optional<std::wstring> read;
      std::atomic<bool> done{false};
      std::thread reader([&] { read = ClipText(format), done = true; });
      EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
      reader.join();
      EXPECT_EQ(read, format == CF_TEXT ? L"plain ascii" : text);
    }
    EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }, 10000)) << format;
    EXPECT_EQ(CountClipboardFormats(), 0);
  }
  // Another program's data put there since is left alone; a busy clipboard is not touched.
  app::PasteClipboard paste(100);
  ASSERT_TRUE(paste.Offer(L"ours"));
  paste.EmptyWhenTaken();
  std::thread other([] { PutClip(CF_UNICODETEXT, L"theirs"); });
  EXPECT_TRUE(PumpUntil([&] { return !paste.Pending(); }));
  other.join();
  {
    ClipHolder busy;
    EXPECT_FALSE(paste.Offer(L"new"));
  }
  EXPECT_EQ(ClipText(), L"theirs");
}

}  // namespace
