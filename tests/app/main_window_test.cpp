// The main window on real windows: design, geometry from and to Config.ini,
// the slots in data.mdb, the buttons and the hotkeys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

#include "app/clipboard/clipboard_actions.h"
#include "app/frm_main.h"
#include "app/mod_hot_key.h"
#include "app/mod_tray.h"
#include "app/single_instance.h"
#include "app/slots/slot_store.h"
#include "app/tip_text.h"
#include "app/user_notes.h"
#include "forms/app.h"
#include "forms/control.h"
#include "forms/system_color.h"
#include "forms/twips.h"
#include "harness.h"
#include "slow_owner.h"
#include "tests/db/jet_samples.h"
#include "skin/core/skin_wnd_proc.h"

namespace {

using app::FrmMain;
namespace hk = app::mod_HotKey;

int Px(double twips) { return forms::TwipsToPixelsX(twips); }
int Py(double twips) { return forms::TwipsToPixelsY(twips); }
// Left, top, width and height in pixels; a child's relative to its parent.
std::tuple<int, int, int, int> Box(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r), MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
WNDPROC ProcOf(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)); }
void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    app::SlotKeeper::lockWaitMs = 300;  // for the tests that hold another program's lock
    forms::App::SetPathForTesting(dir.path.wstring());
    forms::App::SetErrorReporterForTesting([this](long number, const std::wstring&) { errors.push_back(number); });
    forms::App::SetAskerForTesting([this](const std::wstring& text, unsigned type) { return asked.push_back(text), answer(type); });
  }
  void TearDown() override {
    form.reset(), forms::App::RestoreDefaultErrorReporter(), forms::App::SetAskerForTesting(nullptr);
    EXPECT_EQ(errors, expectedErrors);
  }
  FrmMain& Start(const std::string& ini = "") {
    form.reset(), fs::remove(dir.path / L"Config.ini");
    if (!ini.empty()) PutFile(dir.path / L"Config.ini", ini);
    form = std::make_unique<FrmMain>();
    EXPECT_TRUE(form->Load());
    return form->Show(), *form;
  }
  // The window's rectangle and the rows laid out for its size.
  void ExpectGeometry(double left, double top, double width, double height) {
    EXPECT_EQ(Box(form->hwnd()), std::make_tuple(Px(left), Py(top), Px(width), Py(height)));
    for (int n = 1; n <= 9; ++n) {
      EXPECT_EQ(Box(form->txtClip(n).hwnd()), std::make_tuple(Px(300), Py(150 + 420 * (n - 1)), Px(width - 1935),
                                                              Py(n == 9 ? height - 4110 : 270))) << n;
      EXPECT_EQ(std::make_tuple(std::get<0>(Box(form->cmdGet(n).hwnd())), std::get<0>(Box(form->cmdClear(n).hwnd()))),
                std::make_tuple(Px(width - 1530), Px(width - 870))) << n;
    }
  }
  void ExpectSlot(int n, const std::wstring& text) {
    std::wstring shown = text;  // a NUL shows as U+2400
    std::replace(shown.begin(), shown.end(), L'\0', L'\x2400');
    EXPECT_EQ(std::make_tuple(form->txtClip(n).Text(), form->txtClip(n).ToolTipText()), std::make_tuple(text, app::SlotTipText(shown))) << n;
  }
  TempDir dir;
  std::unique_ptr<FrmMain> form;
  std::vector<long> errors, expectedErrors;
  std::vector<std::wstring> asked;  // message boxes, answered by answer(type)
  std::function<int(unsigned)> answer = [](unsigned) { return IDCANCEL; };
};

TEST_F(MainWindow, DesignLayoutAndTabOrder) {
  FrmMain& f = Start();
  // Tab index, id, class and caption, box, in z-order: the tab order is the z-order, and the
  // indexes themselves are checked, also where a wrong one would tie and keep the order.
  std::vector<std::tuple<int, int, std::wstring, int, int, int, int>> order;
  for (int n = 1; n <= 9; ++n)  // labels are sized to their text
    order.emplace_back(f.lblNumber(n).TabIndex(), FrmMain::LabelId(n), L"Static " + std::to_wstring(n) + L":", Px(120),
                       Py(210 + 420 * (n - 1)), std::get<2>(Box(f.lblNumber(n).hwnd())), std::get<3>(Box(f.lblNumber(n).hwnd())));
  for (int n = 1; n <= 9; ++n)
    order.emplace_back(f.txtClip(n).TabIndex(), FrmMain::TextBoxId(n), L"Edit ", Px(300), Py(150 + 420 * (n - 1)), Px(1815),
                       Py(n == 9 ? 390 : 270));
  for (int n : {1, 9, 2, 3, 4, 5, 6, 7, 8}) {
    order.emplace_back(f.cmdGet(n).TabIndex(), FrmMain::GetButtonId(n), L"Button 赋值", Px(2220), Py(120 + 420 * (n - 1)),
                       Px(615), Py(315));
    order.emplace_back(f.cmdClear(n).TabIndex(), FrmMain::ClearButtonId(n), L"Button 清除", Px(2880), Py(120 + 420 * (n - 1)),
                       Px(615), Py(315));
  }
  order.emplace_back(f.picTray().TabIndex(), FrmMain::kTrayPictureId, L"ThunderRT6PictureBoxDC ", Px(1140), Py(1320), Px(615),
                     Py(555));
  HWND child = GetWindow(f.hwnd(), GW_CHILD);
  for (size_t i = 0; i < order.size(); ++i, child = GetWindow(child, GW_HWNDNEXT)) {
    ASSERT_NE(child, nullptr);
    wchar_t kind[64] = {};
    GetClassNameW(child, kind, 64);
    EXPECT_EQ(std::tuple_cat(std::make_tuple(static_cast<int>(i), GetDlgCtrlID(child), kind + (L" " + WindowText(child))), Box(child)),
              order[i]);
  }
  EXPECT_EQ(child, nullptr);
  for (int n = 1; n <= 9; ++n)
    EXPECT_EQ(GetWindowLongPtrW(f.txtClip(n).hwnd(), GWL_STYLE) & (ES_MULTILINE | WS_VSCROLL), ES_MULTILINE | (n / 9 * WS_VSCROLL));
  EXPECT_EQ(WindowText(f.hwnd()), L"朔禾剪贴板 V1.3");
  EXPECT_FALSE(IsWindowVisible(f.picTray().hwnd()));
  EXPECT_TRUE(GetWindowLongPtrW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindow, GeometryIsReadClampedAndKeptOnResize) {
  const std::tuple<const char*, int, int, int, int> cases[] = {
      {"", 0, 0, 3750, 4500}, {"[Last]\r\nWidth=3000\r\nHeight= 4300\r\nLeft=-15\r\nTop=-7\r\n", 0, 0, 3750, 4425},
      {"[Last]\r\nTop= 450\r\nLeft= 300\r\nHeight=4230\r\nWidth= 3765\r\n", 300, 450, 3765, 4425},
      {"[Last]\r\nWidth= 5010\r\nHeight= 6000\r\nLeft= 15\r\nTop= 30\r\n", 15, 30, 5010, 6000}};
  for (auto [ini, left, top, width, height] : cases) Start(ini), ExpectGeometry(left, top, width, height);
  form->Move(300, 450, 2000, 2000);
  ExpectGeometry(300, 450, 3750, 4425);
  form->Move(300, 450, 5010, 6000);
  form->SetWindowState(forms::WindowState::Maximized);
  ASSERT_TRUE(IsZoomed(form->hwnd()));
  EXPECT_EQ(Box(form->txtClip(9).hwnd()), std::make_tuple(Px(300), Py(3510), Px(5010 - 1935), Py(6000 - 4110)));
  // A place beyond every monitor is pulled back onto the screen.
  Start("[Last]\r\nLeft= 2147483647\r\nTop= 900000\r\n");
  EXPECT_NE(MonitorFromWindow(form->hwnd(), MONITOR_DEFAULTTONULL), nullptr);
}

TEST_F(MainWindow, SlotsLoadAtStartUpAndShutDownSavesThemBeforeTheGeometry) {
  app::SlotTexts stored, saved;
  for (int n = 1; n <= 9; ++n) stored[n - 1] = saved[n - 1] = L"槽 " + std::to_wstring(n);
  saved[1] = L"禾", saved[7] = L"", stored[3] = saved[3] = std::wstring(L"槽 4\0尾", 5);
  stored[5] = saved[5] = std::wstring(600, L'长');  // longer than its tip
  for (bool minimised : {false, true}) {
    app::SaveSlots(dir.path.wstring(), stored);
    FrmMain& f = Start();
    for (int n = 1; n <= 9; ++n) ExpectSlot(n, stored[n - 1]);
    SendMessageW(f.txtClip(2).hwnd(), EM_SETSEL, 0, -1), SendMessageW(f.txtClip(2).hwnd(), WM_CHAR, L'禾', 1);
    ExpectSlot(2, L"禾");
    Click(f.cmdClear(8).hwnd());
    f.Move(minimised ? 600 : -150, 450, 5010, 6000);
    if (minimised) f.SetWindowState(forms::WindowState::Minimized);
    EXPECT_EQ(IsWindowVisible(f.hwnd()) != FALSE, !minimised);  // hidden in the tray
    f.Close();
    EXPECT_EQ(app::LoadSlots(dir.path.wstring()), saved);
    EXPECT_EQ(FileBytes(dir.path / L"Config.ini"), std::string("[Last]\r\nWidth= 5010\r\nHeight= 6000\r\nLeft=") +
                                                       (minimised ? " 600" : "-150") + "\r\nTop= 450\r\n");
  }
}

TEST_F(MainWindow, AnUnwritableDatabaseIsToldAtStartUpAndAtShutDownTheTextsAreSavedOnRetryOrKeptInAFile) {
  const fs::path db = dir.path / L"data.mdb";
  for (bool retry : {true, false}) {
    app::SaveSlots(dir.path.wstring(), {L"一", L"two\r\nlines"});
    // Another program's write lock (SQLite's reserved byte), held past the wait.
    HANDLE file = CreateFileW(db.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(LockFile(file, 0x40000001, 0, 1, 0));
    answer = [&](unsigned type) { return retry && (type & MB_RETRYCANCEL) && UnlockFile(file, 0x40000001, 0, 1, 0) ? IDRETRY : IDCANCEL; };
    asked.clear(), Start().txtClip(9).SetText(L"typed");
    EXPECT_TRUE(asked.size() == 1 && asked[0].find(db.wstring()) != std::wstring::npos);  // naming the file
    form->Close(), CloseHandle(file);
    ASSERT_EQ(std::make_tuple(asked.size(), app::LoadSlots(dir.path.wstring())[8], fs::exists(dir.path / L"Config.ini")),
              std::make_tuple(retry ? 2u : 3u, retry ? L"typed" : L"", retry));
  }
  const fs::path kept = asked[2].substr(asked[2].rfind(L'\n') + 1);
  EXPECT_EQ(kept.parent_path(), dir.path);
  EXPECT_EQ(FileBytes(kept), "\xEF\xBB\xBF[槽 1]\r\n一\r\n[槽 2]\r\ntwo\r\nlines\r\n[槽 3]\r\n\r\n[槽 4]\r\n\r\n[槽 5]\r\n\r\n"
                            "[槽 6]\r\n\r\n[槽 7]\r\n\r\n[槽 8]\r\n\r\n[槽 9]\r\ntyped\r\n");
}

// An older version's data.mdb: taken over, or where the folder will not let
// it be converted (a folder stands where the new file goes) its slots shown;
// either way the user is told.
TEST_F(MainWindow, AnOlderVersionsFileIsTakenOverOrOnlyShownAndTheUserIsTold) {
  const std::optional<fs::path> samples = JetSamplesDir();
  if (!samples) GTEST_SKIP() << "Jet sample files not found (set CLIP_JET_SAMPLES)";
  for (bool blocked : {false, true}) {
    form.reset(), fs::remove_all(dir.path), fs::create_directory(dir.path), asked.clear();
    PutFile(dir.path / L"data.mdb", FileBytes(*samples / L"slots" / L"slots-v2000-compressed.mdb"));
    if (blocked) fs::create_directory(dir.path / L"data.mdb-new.tmp");
    FrmMain& f = Start();
    ASSERT_TRUE(PumpUntil([&] { return !asked.empty(); }, 3000)) << blocked;
    const std::wstring told = blocked ? L"已显示旧版程序的槽，但旧版的 data.mdb 无法转换为新格式"
                                      : L"已接管旧版程序的槽：旧版的 data.mdb 已转换为新格式。\n\n旧版的 data.mdb 原样保存在：\n\n" +
                                            (dir.path / L"data-旧版.mdb").wstring();
    EXPECT_EQ(asked.front().substr(0, told.size()), told);
    EXPECT_EQ(f.txtClip(1).Text(), L"第一槽 slot one") << blocked;
  }
}

BOOL WINAPI NoTray(DWORD, PNOTIFYICONDATAW) { return FALSE; }

std::vector<NOTIFYICONDATAW> trayCalls;
BOOL WINAPI RecordTray(DWORD message, PNOTIFYICONDATAW data) {
  if (message == NIM_ADD) trayCalls.push_back(*data);
  return Shell_NotifyIconW(message, data);
}

// The first trip to the tray says, from the icon, where the window went; a
// second start of the program brings the window back, out of the tray too;
// no icon outlives an error, and without an icon the window stays in view.
TEST_F(MainWindow, TheTraySaysWhereASecondStartBringsTheWindowBackNoIconOutlivesAnError) {
  app::mod_Tray::NotifyIcon = &RecordTray, trayCalls.clear();
  FrmMain& f = Start();
  const std::wstring name = L"clip-test-" + std::to_wstring(GetCurrentProcessId());
  app::SingleInstance first(name), second(name);
  first.Publish(f.hwnd());
  EXPECT_EQ(std::make_tuple(first.First(), second.First(), second.RunningWindow(0)), std::make_tuple(true, false, f.hwnd()));
  for (int trip = 1; trip <= 2; ++trip) {
    f.SetWindowState(forms::WindowState::Minimized);
    ASSERT_TRUE(f.InTray() && !IsWindowVisible(f.hwnd())) << trip;
    app::ShowRunningCopy(second.RunningWindow(1000));
    EXPECT_TRUE(PumpUntil([&] { return !f.InTray() && IsWindowVisible(f.hwnd()) && !IsIconic(f.hwnd()); })) << trip;
  }
  app::mod_Tray::NotifyIcon = &Shell_NotifyIconW;
  ASSERT_EQ(trayCalls.size(), 2u);
  EXPECT_EQ(std::make_tuple(trayCalls[0].uFlags, std::wstring(trayCalls[0].szInfoTitle), std::wstring(trayCalls[0].szInfo)),
            std::make_tuple(UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO}, app::TrayBalloonTitle(), app::TrayBalloonText()));
  EXPECT_EQ(trayCalls[1].uFlags, UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP});
  f.SetWindowState(forms::WindowState::Minimized);
  forms::App::ReportError(5, L"failed in the tray");
  expectedErrors = {5};
  EXPECT_FALSE(f.InTray() || Shell_NotifyIconW(NIM_DELETE, &app::mod_Tray::TrayIconData));
  app::mod_Tray::NotifyIcon = &NoTray;
  Start().SetWindowState(forms::WindowState::Minimized);
  app::mod_Tray::NotifyIcon = &Shell_NotifyIconW;
  EXPECT_TRUE(!form->InTray() && IsWindowVisible(form->hwnd()));
}

// At a session's end nobody answers a box, and the system ends the process
// soon: with data.mdb held by another program the texts go to the text file
// at once, and the next start says where they are.
TEST_F(MainWindow, ASessionEndWithTheDatabaseHeldKeepsTheTextsWithoutABoxAndTheNextStartTells) {
  app::SaveSlots(dir.path.wstring(), {L"一"});
  FrmMain& f = Start();
  f.txtClip(4).SetText(L"at the session end 会话结束");
  HANDLE file = CreateFileW((dir.path / L"data.mdb").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(LockFile(file, 0x40000001, 0, 1, 0));  // another program's write lock
  SendMessageW(f.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
  SendMessageW(f.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  CloseHandle(file);
  EXPECT_EQ(asked, std::vector<std::wstring>{});
  std::vector<fs::path> kept;
  for (const auto& entry : fs::directory_iterator(dir.path))
    if (entry.path().extension() == L".txt") kept.push_back(entry.path());
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_NE(FileBytes(kept[0]).find("at the session end"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path / L"Config.ini"));  // the save failed: the place stays as it was
  Start();
  EXPECT_TRUE(PumpUntil([&] { return !asked.empty(); }));
  EXPECT_EQ(asked, std::vector<std::wstring>{app::SessionEndNote(kept[0].wstring())});
  form->Close(), asked.clear();
  Start();  // told once
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(asked, std::vector<std::wstring>{});
}

bool fakeHighContrast = false;
bool FakeHighContrast() { return fakeHighContrast; }

// In high contrast the skin stands aside and the slots take the system's
// colours; the window follows the setting while it runs, both ways, the
// hotkey procedure staying in front.
TEST_F(MainWindow, TheSkinStandsAsideInHighContrastAndFollowsTheSettingBothWays) {
  forms::HighContrastOn = &FakeHighContrast, fakeHighContrast = true;
  FrmMain& f = Start();
  const auto look = [&] {
    return std::make_tuple(ProcOf(f.hwnd()), hk::OldWndProc, ProcOf(f.cmdGet(1).hwnd()) == &skin::SkinWndProc,
                           f.txtClip(9).ForeColor(), f.txtClip(9).BackColor(), f.lblNumber(9).ForeColor());
  };
  using forms::SystemColor;
  const auto plain = std::make_tuple(&hk::HotKeyWndProc, &forms::Form::WndProc, false, SystemColor(COLOR_WINDOWTEXT),
                                     SystemColor(COLOR_WINDOW), SystemColor(COLOR_BTNTEXT));
  const auto skinned = std::make_tuple(&hk::HotKeyWndProc, &skin::SkinWndProc, true, 0x00C00000u, 0x80000018u, 0x000000C0u);
  EXPECT_EQ(look(), plain);
  for (bool on : {false, true, false}) {
    fakeHighContrast = on;
    SendMessageW(f.hwnd(), on ? WM_SYSCOLORCHANGE : WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(look(), on ? plain : skinned) << on;
  }
  forms::HighContrastOn = &forms::SystemHighContrastOn;
}

TEST_F(MainWindow, ANewDpiTakesTheSuggestedRectangleAndScalesLayoutAndFont) {
  FrmMain& f = Start();
  auto fontHeight = [&, font = LOGFONTW{}]() mutable {
    return GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(f.txtClip(1).hwnd(), WM_GETFONT, 0, 0)), sizeof font, &font),
           std::abs(font.lfHeight);
  };
  const int dpi = static_cast<int>(std::lround(1440 / forms::TwipsPerPixelX())), height = fontHeight();
  for (int now : {2 * dpi, dpi}) {
    RECT suggested{30, 60, 30 + 3750 * now / 1440, 60 + 4500 * now / 1440};
    SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(now, now), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(forms::TwipsPerPixelX(), 1440.0 / now);
    ExpectGeometry(30 * 1440.0 / now, 60 * 1440.0 / now, 3750, 4500);
    EXPECT_NEAR(fontHeight(), height * now / dpi, 1) << now;
  }
}

std::vector<WPARAM> passedOn;
WNDPROC realOldProc = nullptr;
LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) passedOn.push_back(wParam);
  return CallWindowProcW(realOldProc, hwnd, message, wParam, lParam);
}

// A box not in use lays out only the start of a long text; everything that
// reads the box still gets the whole text, and using the box lays it all out.
TEST_F(MainWindow, ALongSlotIsLaidOutAsFarAsItsBoxShowsUntilTheBoxIsUsed) {
  FrmMain& f = Start();
  std::wstring text;
  for (int i = 0; i < 3000; ++i) text += L"第 " + std::to_wstring(i) + L" 行 \U0001F4CE\r\n";
  text += std::wstring(L"尾\0end", 5);
  forms::TextBox& box = f.txtClip(3);
  int changes = 0;
  box.OnChange = [&] { ++changes, f.txtClip_Change(3); };
  auto expectWhole = [&](const char* when) {
    EXPECT_EQ(std::make_tuple(box.Text() == text, WindowText(box.hwnd()).size(), GetWindowTextLengthW(box.hwnd())),
              std::make_tuple(true, text.size(), static_cast<int>(text.size()))) << when;
    ExpectSlot(3, text);
  };
  using Use = std::pair<const char*, std::function<void()>>;
  for (const auto& [use, act] : {Use{"focus", [&] { SetFocus(box.hwnd()); }},
                                 Use{"wheel", [&] { SendMessageW(box.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0); }},
                                 Use{"scroll bar", [&] { SendMessageW(box.hwnd(), WM_NCLBUTTONDOWN, HTVSCROLL, 0); }},
                                 Use{"lines", [&] { SendMessageW(box.hwnd(), EM_GETLINECOUNT, 0, 0); }}}) {
    SetFocus(f.cmdGet(1).hwnd()), changes = 0;
    box.SetText(text);
    const size_t part = box.PartLength();
    EXPECT_TRUE(part > 0 && part < 1000 && text[part - 1] == L'\n') << use << " " << part;
    expectWhole(use);
    wchar_t start[8];
    EXPECT_EQ(SendMessageW(box.hwnd(), WM_GETTEXT, 8, reinterpret_cast<LPARAM>(start)), 7) << use;
    EXPECT_EQ(std::wstring(start), text.substr(0, 7)) << use;
    act();
    EXPECT_FALSE(box.PartLength() > 0) << use;
    // All 3001 lines are in the window now, and its text did not change.
    EXPECT_EQ(SendMessageW(box.hwnd(), EM_GETLINECOUNT, 0, 0), 3001) << use;
    EXPECT_EQ(changes, 1) << use;
    expectWhole(use);
  }
  // In the box with the focus, a new text and typing take the whole text.
  SetFocus(box.hwnd()), box.SetText(text);
  EXPECT_FALSE(box.PartLength() > 0);
  SendMessageW(box.hwnd(), EM_SETSEL, 0, 0), SendMessageW(box.hwnd(), WM_CHAR, L'始', 1);
  EXPECT_EQ(box.Text(), L"始" + text.substr(0, text.size() - 4) + L"\u2400end");  // edited: the text as shown
  // Text sent by other code is taken the same way.
  SetFocus(f.cmdGet(1).hwnd()), changes = 0;
  const std::wstring sent = text.substr(0, text.size() - 5);
  SendMessageW(box.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(sent.c_str()));
  EXPECT_EQ(std::make_tuple((box.PartLength() > 0), box.Text() == sent, changes), std::make_tuple(true, true, 1));
  // Slot 9 grows with the window: more of its text is laid out, then all of it.
  std::wstring twenty;
  for (int i = 0; i < 20; ++i) twenty += L"行\r\n";
  f.txtClip(9).SetText(twenty);
  const size_t small = f.txtClip(9).PartLength();
  f.Move(0, 0, 5010, 6000);
  const size_t taller = f.txtClip(9).PartLength();
  EXPECT_TRUE(small > 0 && taller > small && f.txtClip(9).Text() == twenty) << small << " " << taller;
  f.Move(0, 0, 5010, 9000);
  EXPECT_EQ(std::make_tuple((f.txtClip(9).PartLength() > 0), SendMessageW(f.txtClip(9).hwnd(), WM_GETTEXTLENGTH, 0, 0)),
            std::make_tuple(false, static_cast<LRESULT>(twenty.size())));
  // The hotkeys and the save take the whole text.
  PutClip(CF_UNICODETEXT, text.substr(0, text.size() - 5));
  SendMessageW(f.hwnd(), WM_HOTKEY, 148 + 4, 0);
  PumpUntil([&] { return f.Actions().Idle(); });
  EXPECT_TRUE(f.txtClip(4).PartLength() > 0 && f.txtClip(4).Text() == sent);
  f.Close();
  const app::SlotTexts saved = app::LoadSlots(dir.path.wstring());
  EXPECT_TRUE(saved[2] == sent && saved[3] == sent);
}

TEST_F(MainWindow, AssignButtonAndAltDigitTakeTheClipboardText) {
  FrmMain& f = Start();
  const std::wstring text = L"存入 \U0001F4CE\r\n二";
  // Slot, what the clipboard holds, by button (else Alt+digit), held open by another program for a
  // while, the slot's text after.
  const std::tuple<int, UINT, bool, bool, std::wstring> cases[] = {
      {5, CF_UNICODETEXT, true, false, text}, {9, CF_UNICODETEXT, false, false, text}, {1, 0, true, false, L""},
      {2, CF_BITMAP, true, false, L""},       {3, 0, false, false, L""},                {4, CF_BITMAP, false, false, L""},
      {8, kUnrendered, true, false, L"old"},   {8, kUnrendered, false, false, L"old"},
      {6, CF_UNICODETEXT, true, true, text},  {7, CF_UNICODETEXT, false, true, text}};
  for (auto [slot, format, button, busy, want] : cases) {
    for (int n = 1; n <= 9; ++n) f.txtClip(n).SetText(L"old");
    PutClip(format, text);
    std::optional<ClipHolder> holder;
    if (busy) holder.emplace();
    button ? Click(f.cmdGet(slot).hwnd()) : (void)SendMessageW(f.hwnd(), WM_HOTKEY, 148 + slot, 0);
    if (busy) {
      // The slot waits for the clipboard, and takes the text once it is free.
      PumpUntil([] { return false; }, 300);
      EXPECT_EQ(f.txtClip(slot).Text(), L"old");
      holder.reset();
    }
    EXPECT_TRUE(PumpUntil([&] { return f.Actions().Idle(); }));
    for (int n = 1; n <= 9; ++n) ExpectSlot(n, n == slot ? want : L"old");
    EXPECT_EQ(ClipText(), format == CF_UNICODETEXT ? std::optional(text) : std::nullopt) << slot;
  }
  // Every hotkey message passes on; ids that are not ours change nothing.
  for (int n = 1; n <= 9; ++n) f.txtClip(n).SetText(L"old");
  realOldProc = hk::OldWndProc, hk::OldWndProc = &Recorder;
  const std::vector<WPARAM> ids = {static_cast<WPARAM>(-1), 148, 158, 258, 349, 199};
  for (WPARAM id : ids) SendMessageW(f.hwnd(), WM_HOTKEY, id, 0);
  hk::OldWndProc = realOldProc;
  EXPECT_EQ(passedOn, ids);
  EXPECT_EQ(ClipText(), text);
  for (int n = 1; n <= 9; ++n) ExpectSlot(n, L"old");
}

bool KeyIsFree(UINT modifier, UINT key) { return RegisterHotKey(nullptr, 7, modifier, key) && UnregisterHotKey(nullptr, 7); }

// Types at the end of the box's text.
void Type(HWND box, const std::wstring& text) {
  const int end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, end, end);
  for (wchar_t c : text) SendMessageW(box, WM_CHAR, c, 1);
}

TEST_F(MainWindow, ChangedSlotsReachTheFileWhileTheProgramRunsOnceTheirBoxPauses) {
  app::SlotTexts stored;
  stored[4] = L"to clear", stored[8] = L"kept";
  app::SaveSlots(dir.path.wstring(), stored);
  FrmMain& f = Start();
  app::SlotWriter& writer = *f.Writer();
  // Typed, stored by Alt+3, assigned, cleared: all before the pause.
  SetFocus(f.txtClip(2).hwnd()), Type(f.txtClip(2).hwnd(), L"typed, thirty characters long.");
  PutClip(CF_UNICODETEXT, L"from the clipboard");
  SendMessageW(f.hwnd(), WM_HOTKEY, 148 + 3, 0);
  Click(f.cmdGet(4).hwnd()), Click(f.cmdClear(5).hwnd());
  app::SlotTexts want = stored;
  want[1] = L"typed, thirty characters long.", want[2] = want[3] = L"from the clipboard", want[4] = L"";
  ASSERT_TRUE(PumpUntil([&] { return !f.SlotWritesWaiting() && !writer.Pending(); }, 10000));
  EXPECT_EQ(app::LoadSlots(dir.path.wstring()), want);
  // One write per changed slot, none for the slots only loaded.
  EXPECT_EQ(writer.Attempts(), 4);
  // Typing that never pauses still reaches the file while it goes on.
  std::wstring typed;
  for (int i = 0; i < 60 && app::LoadSlots(dir.path.wstring())[5].empty(); ++i) {
    Type(f.txtClip(6).hwnd(), L"x"), typed += L"x";
    PumpUntil([] { return false; }, 100);
  }
  const std::wstring early = app::LoadSlots(dir.path.wstring())[5];
  EXPECT_TRUE(!early.empty() && early.size() < 60) << early.size();
  f.Close();
  EXPECT_EQ(app::LoadSlots(dir.path.wstring())[5], typed);
}

std::vector<UINT> registeredModifiers;
BOOL WINAPI RecordRegistration(HWND window, int id, UINT modifiers, UINT key) {
  registeredModifiers.push_back(modifiers);
  return RegisterHotKey(window, id, modifiers, key);
}

// The eighteen keys and their procedure from start-up to shut-down; keys
// another program holds are named once after start-up, the others work.
TEST_F(MainWindow, HotKeysAndTheirProcedureFromStartUpToShutDown) {
  for (bool shutDown : {false, true}) {
    const bool othersHold = !shutDown;
    if (othersHold) {
      ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, '2')) << GetLastError();
      ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL, '5')) << GetLastError();
    }
    hk::RegisterKey = &RecordRegistration, registeredModifiers.clear(), asked.clear();
    FrmMain& f = Start();
    hk::RegisterKey = &RegisterHotKey;
    // One press, one action: no message for the keyboard's auto-repeat.
    std::vector<UINT> want;
    for (int n = 1; n <= 9; ++n) want.insert(want.end(), {MOD_ALT | MOD_NOREPEAT, MOD_CONTROL | MOD_NOREPEAT});
    EXPECT_EQ(registeredModifiers, want);
    PumpUntil([&] { return !asked.empty(); }, othersHold ? 3000 : 300);
    EXPECT_EQ(asked, othersHold ? std::vector<std::wstring>{L"以下热键已被其他程序占用，在本程序中不起作用：Alt+2、Ctrl+5"}
                                : std::vector<std::wstring>{});
    if (shutDown) f.Form_Unload();
    // Running: hotkeys, then the skin, then the form; detached: the form alone.
    EXPECT_EQ(ProcOf(f.hwnd()), shutDown ? &forms::Form::WndProc : &hk::HotKeyWndProc);
    EXPECT_EQ(hk::OldWndProc, &skin::SkinWndProc);
    EXPECT_EQ(ProcOf(f.cmdGet(9).hwnd()) == &skin::SkinWndProc, !shutDown);
    for (int id : {149, 150, 151, 152, 153, 154, 155, 156, 157, 249, 250, 251, 252, 253, 254, 255, 256, 257}) {
      const UINT modifier = id / 100, key = id % 100;  // MOD_ALT 1 or MOD_CONTROL 2, then '1'..'9'
      const bool theirs = othersHold && (id == 150 || id == 253), ours = UnregisterHotKey(f.hwnd(), id) != FALSE;
      EXPECT_EQ(std::make_tuple(ours, KeyIsFree(modifier, key)), std::make_tuple(!shutDown && !theirs, !theirs)) << id;
    }
    if (othersHold) UnregisterHotKey(nullptr, 1), UnregisterHotKey(nullptr, 2);
  }
}

// Ctrl+digit pastes into the active window and the clipboard ends empty. A
// program that renders its clipboard text late keeps the keys pressed
// meanwhile waiting, not the window, and they act in the order pressed; one
// that never renders leaves the slot as it was and is told once.
TEST_F(MainWindow, CtrlDigitPastesAndClipboardKeysActInTheOrderPressedWhileTheOwnerIsSlow) {
  FrmMain& f = Start();
  HWND editor = ActiveEditor();
  ASSERT_NE(editor, nullptr);
  const std::wstring text = L"取出 \U0001F4CE\r\n第二行";
  f.txtClip(3).SetText(text);
  for (int slot : {4, 3}) {  // slot 4 is empty: its empty text replaces the selection
    PutClip(CF_UNICODETEXT, L"gone afterwards");
    SendMessageW(editor, EM_SETSEL, 0, -1);
    PostMessageW(f.hwnd(), WM_HOTKEY, 248 + slot, 0);
    const std::wstring want = slot == 3 ? text : L"";
    PumpUntil([&] { return WindowText(editor) == want && f.Actions().Idle(); });
    EXPECT_EQ(std::make_tuple(WindowText(editor), CountClipboardFormats(), GetForegroundWindow()),
              std::make_tuple(want, 0, editor));
  }
  SetWindowTextW(editor, L"");
  for (int n = 1; n <= 9; ++n) f.txtClip(n).SetText(L"old");
  {
    SlowOwner owner;
    PostMessageW(f.hwnd(), WM_HOTKEY, 148 + 2, 0);  // Alt+2: the owner is asked and takes its time
    PostMessageW(f.hwnd(), WM_HOTKEY, 248 + 2, 0);  // Ctrl+2: pastes slot 2 as it will be
    PostMessageW(f.hwnd(), WM_HOTKEY, 148 + 3, 0);  // Alt+3: after the paste emptied the clipboard
    ASSERT_TRUE(PumpUntil([&] { return owner.Asked(); }));
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(std::make_tuple(f.txtClip(2).Text(), WindowText(editor), f.Actions().Idle()),
              std::make_tuple(std::wstring(L"old"), std::wstring(), false));
    owner.Release();
    EXPECT_TRUE(PumpUntil([&] { return f.Actions().Idle(); }, 10000));
  }
  ExpectSlot(2, L"late 迟到"), ExpectSlot(3, L"");
  EXPECT_EQ(WindowText(editor), L"late 迟到");
  DestroyWindow(editor);

  // The store gives the owner 300 ms; the assign behind it finds the
  // clipboard still held by that read, gives up after a second and is told
  // in a note, without a box.
  const auto note = [&] { return f.Notice().hwnd() ? WindowText(f.Notice().hwnd()) : L"<none>"; };
  {
    app::ClipboardActions actions(f, app::PasteTiming(), app::ReadTiming{1000, 300});
    SlowOwner hung;
    actions.Store(5), actions.Assign(6);
    EXPECT_TRUE(PumpUntil([&] { return actions.Idle(); }, 10000));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_NE(asked[0].find(L"槽 5 保持原样"), std::wstring::npos) << asked[0].size();
    for (int n : {5, 6}) ExpectSlot(n, L"old");
    EXPECT_EQ(note(), app::ActionNoteText(app::ActionNotice::StoreBusy, 6));
  }
  // So is a paste that cannot be sent, and the active window stays as it is:
  // an elevated target (the text stays on the clipboard for the user's own
  // Ctrl+V), a clipboard held by another program.
  HWND target = ActiveEditor();
  ASSERT_NE(target, nullptr);
  SetWindowTextW(target, L"");
  app::PasteTiming quick;
  quick.openTimeoutMs = 300;
  bool elevated = true;
  app::ClipboardActions pastes(f, quick, app::ReadTiming(), [&](HWND) {
    return elevated ? app::TargetAccess::Elevated : app::TargetAccess::Reachable;
  });
  f.txtClip(7).SetText(L"给管理员窗口");
  pastes.Paste(7);
  EXPECT_TRUE(PumpUntil([&] { return note() == app::ActionNoteText(app::ActionNotice::Elevated, 7); }));
  EXPECT_NE(note().find(L"管理员身份运行"), std::wstring::npos);
  EXPECT_EQ(std::make_tuple(GetForegroundWindow(), WindowText(target), ClipText()),
            std::make_tuple(target, std::wstring(), std::optional<std::wstring>(L"给管理员窗口")));
  EXPECT_TRUE(PumpUntil([&] { return pastes.Idle(); }));  // emptied once read
  elevated = false;
  {
    ClipHolder holder;
    pastes.Paste(5);
    EXPECT_TRUE(PumpUntil([&] { return note() == L"剪贴板正被其他程序占用，槽 5 没有粘贴。请稍后再按 Ctrl+5。"; }));
  }
  EXPECT_EQ(WindowText(target), L"");
  DestroyWindow(target);
}

}  // namespace
