// probe: reads and pokes the running program's windows for the end-to-end
// scripts, from inside the Wine desktop "shell" the program runs in. Prints
// UTF-8; exit code 0 on success, 1 when the window is missing or the request
// fails, 2 on bad usage.
//   probe [--wait MS] [--any] COMMAND ARGS...
// Without the program: errorbox [ok], clipboard (without CRs; "<empty>", or "<no text>"
// when it holds other formats only), cursor, anytip, popupmenu, count, foreground,
// notice, pixel X Y..., taskbarcreated, trayicon HWND, focus,
// editor|notepad text|await TEXT|rect|hotkeys|clear|late MS|boxprocess|close,
// peer updates|reads (test_editor's clipboard reader).
// Of the program's main window (--any: also hidden): title, rect, topmost, state,
// close, minimize, picture, trayicon, traydelete, tip, slot N, slotrect N, setslot N TEXT, button N [clear],
// restless FACE MS, faces, shot FILE,
// look REFERENCE FOLDER.
// The main window's children are named "label N", "slot N", "button N get|clear"
// (slot N's assign and clear button) and "tray".
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "tests/look/picture.h"

namespace {

void Print(const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                       bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
  fwrite(bytes.data(), 1, bytes.size(), stdout), fflush(stdout);
}

std::wstring Num(long long v) { return std::to_wstring(v); }
std::wstring ButtonName(size_t k) { return Num(k / 2 + 1) + (k % 2 ? L" clear" : L" get"); }
INT_PTR Prop(HWND h, const wchar_t* key) { return reinterpret_cast<INT_PTR>(GetPropW(h, key)); }
// The skin's record of a button: state, level, fade timer, pointer flag.
std::wstring Record(HWND b) {
  return Num(Prop(b, L"OLDSTATE")) + L" " + Num(Prop(b, L"ALPHALEVEL")) + L" " + Num(Prop(b, L"TIMERID")) + L" " +
         Num(Prop(b, L"MOUSEFLAG"));
}
DWORD ProcessOf(HWND h) { DWORD pid = 0; return GetWindowThreadProcessId(h, &pid), pid; }
std::wstring ClassOf(HWND h) { wchar_t name[256] = {}; return GetClassNameW(h, name, 256), name; }
RECT Bounds(HWND h) { RECT r{}; return GetWindowRect(h, &r), r; }

std::wstring TextOf(HWND h) {
  std::wstring s(static_cast<size_t>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  s.resize(static_cast<size_t>(SendMessageW(h, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()))));
  return s;
}

std::wstring RectOf(HWND h) {
  const RECT r = Bounds(h);
  return Num(r.left) + L" " + Num(r.top) + L" " + Num(r.right - r.left) + L" " + Num(r.bottom - r.top) + L"\n";
}

std::vector<HWND> MainWindows() {
  std::vector<HWND> out;
  for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, L"朔禾剪贴板 V1.3")) != nullptr;) out.push_back(h);
  return out;
}

// Polls find() every `step` ms until it gives something (a window, true, a
// count) or the time is up; returns what it gave last.
template <typename F>
auto WaitFor(DWORD ms, F find, DWORD step = 50) {
  for (const DWORD start = GetTickCount();; Sleep(step)) {
    const auto got = find();
    if (got || GetTickCount() - start >= ms) return got;
  }
}

// Direct children of one class (of the desktop window: top-level windows),
// top to bottom, then left to right.
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* cls) {
  std::vector<HWND> all, out;
  const WNDENUMPROC add = [](HWND h, LPARAM to) { return reinterpret_cast<std::vector<HWND>*>(to)->push_back(h), TRUE; };
  EnumChildWindows(parent, add, reinterpret_cast<LPARAM>(&all));
  for (HWND h : all) {
    if (GetAncestor(h, GA_PARENT) == parent && lstrcmpiW(ClassOf(h).c_str(), cls) == 0) out.push_back(h);
  }
  std::sort(out.begin(), out.end(), [](HWND a, HWND b) {
    const RECT ra = Bounds(a), rb = Bounds(b);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return out;
}

// The main window's children by name (see above).
std::map<HWND, std::wstring> NamesIn(HWND main) {
  std::map<HWND, std::wstring> names{{FindWindowExW(main, nullptr, L"ThunderRT6PictureBoxDC", nullptr), L"tray"}};
  const auto labels = ChildrenOf(main, L"Static"), slots = ChildrenOf(main, L"Edit");
  const auto buttons = ChildrenOf(main, L"Button");
  for (size_t k = 0; k < labels.size(); ++k) names[labels[k]] = L"label " + Num(k + 1);
  for (size_t k = 0; k < slots.size(); ++k) names[slots[k]] = L"slot " + Num(k + 1);
  for (size_t k = 0; k < buttons.size(); ++k) names[buttons[k]] = L"button " + ButtonName(k);
  return names;
}

// The first visible window of a class among top-level windows (of one
// thread, or of every program with thread 0).
HWND VisibleOfClass(DWORD thread, const wchar_t* cls) {
  for (HWND h : ChildrenOf(GetDesktopWindow(), cls)) {
    if (IsWindowVisible(h) && (!thread || GetWindowThreadProcessId(h, nullptr) == thread)) return h;
  }
  return nullptr;
}

std::wstring Pixel(POINT p) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  wchar_t hex[8];
  return swprintf(hex, 8, L"%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c)), hex;
}
// The left ring of a button's face, beside the caption.
POINT FaceSpot(HWND button) { const RECT r = Bounds(button); return {r.left + 1, (r.top + r.bottom) / 2}; }

// How many buttons are not at rest (state Normal, no timer, no pointer flag,
// face colour `face` on screen); `behind` gets which, their record and face.
int Restive(const std::vector<HWND>& buttons, const std::wstring& face, std::wstring* behind = nullptr) {
  int count = 0;
  for (size_t k = 0; k < buttons.size(); ++k) {
    const std::wstring seen = Pixel(FaceSpot(buttons[k]));
    HWND b = buttons[k];
    if (seen == face && !Prop(b, L"OLDSTATE") && !Prop(b, L"TIMERID") && !Prop(b, L"MOUSEFLAG")) continue;
    ++count;
    if (behind) *behind += L" [" + ButtonName(k) + L" " + Record(b) + L" " + seen + L"]";
  }
  return count;
}

// Where the main window draws text, in its window coordinates: the title
// bar, the labels, inside the text boxes, the buttons' captions.
std::vector<RECT> TextZones(HWND main) {
  const RECT r = Bounds(main);
  POINT client = {0, 0};
  ClientToScreen(main, &client);
  std::vector<RECT> zones{{0, 0, r.right - r.left, client.y - r.top}};
  for (const auto& [h, name] : NamesIn(main)) {
    RECT zone = name[0] == L'b' ? look::InWindow(main, h, look::ButtonCaptionZone(h)) : look::WindowIn(main, h);
    if (name[0] == L's') {
      GetClientRect(h, &zone);
      MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&zone), 2);
      OffsetRect(&zone, -r.left, -r.top);
    }
    if (name != L"tray") zones.push_back(zone);
  }
  return zones;
}

// The main window as the screen shows it.
look::Picture Shot(HWND main) {
  const RECT r = Bounds(main);
  HDC screen = GetDC(nullptr);
  const look::Picture picture = look::Grab(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  return ReleaseDC(nullptr, screen), picture;
}

// Compares the window with the reference, again for up to 3 s while they
// differ (the screen may lag behind the window a moment); on a difference
// writes what it saw and the differences into `folder`.
int Look(HWND main, const std::wstring& reference, const std::wstring& folder) {
  look::Picture want, seen;
  if (!look::LoadPng(reference, want)) return fputs("probe: cannot read the reference\n", stderr), 1;
  const std::vector<RECT> zones = TextZones(main);
  look::Difference d;
  if (WaitFor(3000, [&] { return d = look::Compare(want, seen = Shot(main), zones), d.pixels == 0; }, 100)) {
    return Print(L"same\n"), 0;
  }
  look::SavePng(folder + L"\\window-seen.png", seen);
  look::SavePng(folder + L"\\window-diff.png", d.picture);
  const std::wstring where = look::DescribeIn(d, {0, 0, want.width, want.height});
  return Print(L"differs: " + where + L" (window-seen.png, window-diff.png)\n"), 0;
}

int TrayIcon(HWND picture, DWORD op) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d), d.hWnd = picture, d.uID = 1;
  return Print(Shell_NotifyIconW(op, &d) ? L"1\n" : L"0\n"), 0;  // a no-op modify succeeds only for a shown icon
}

int Usage() { return fputs("probe: unknown command (see the comments in probe.cpp)\n", stderr), 2; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  DWORD waitMs = 10000;
  bool anyState = false;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; ++i) {
    const std::wstring opt = argv[i];
    if (opt == L"--any") anyState = true;
    else if (opt == L"--wait") waitMs = static_cast<DWORD>(_wtoi(argv[++i]));
    else return Usage();
  }
  if (i >= argc) return Usage();
  const std::wstring cmd = argv[i++];
  auto arg = [&](int k) { return i + k < argc ? std::wstring(argv[i + k]) : std::wstring(); };

  // The desktop appears a moment after the program is started.
  HDESK desk = WaitFor(waitMs, [] { return OpenDesktopW(L"shell", 0, FALSE, GENERIC_ALL); });
  if (!desk || !SetThreadDesktop(desk)) return fputs("probe: cannot join the desktop\n", stderr), 1;

  if (cmd == L"errorbox") {
    // The message box once its text is in it (the box comes a moment before).
    HWND box = WaitFor(waitMs, [] {
      HWND box = FindWindowW(L"#32770", L"朔禾剪贴板");
      return GetWindowTextLengthW(GetDlgItem(box, 0xFFFF)) > 0 ? box : nullptr;
    });
    if (!box) return fputs("probe: no error box\n", stderr), 1;
    Print(TextOf(GetDlgItem(box, 0xFFFF)) + L"\n");
    return arg(0) == L"ok" && !PostMessageW(box, WM_COMMAND, IDOK, 0);  // 1 when the box cannot be told
  }
  if (cmd == L"clipboard") {
    if (!WaitFor(2000, [] { return OpenClipboard(nullptr) != FALSE; }, 20)) return 1;
    const int count = CountClipboardFormats();
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    std::wstring text = !count ? L"<empty>" : chars ? chars : L"<no text>";
    if (chars) GlobalUnlock(data);
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());  // line ends as the X side's
    return CloseClipboard(), Print(text), 0;
  }
  if (POINT pt{}; cmd == L"cursor") return GetCursorPos(&pt), Print(Num(pt.x) + L" " + Num(pt.y) + L"\n"), 0;
  if (cmd == L"anytip") {
    HWND tip = VisibleOfClass(0, TOOLTIPS_CLASSW);
    return tip ? (Print(TextOf(tip) + L"\n" + RectOf(tip)), 0) : (Print(L"<no tooltip>\n"), 1);
  }
  if (cmd == L"popupmenu") return Print(VisibleOfClass(0, L"#32768") ? L"1\n" : L"0\n"), 0;
  if (cmd == L"foreground") return Print(TextOf(GetForegroundWindow()) + L"\n"), 0;
  if (cmd == L"notice") {
    HWND note = FindWindowW(L"FormsNoticePopup", nullptr);
    return Print(note && IsWindowVisible(note) ? TextOf(note) + L"\n" : L"<none>\n"), 0;
  }
  if (cmd == L"count") return Print(Num(static_cast<long long>(MainWindows().size())) + L"\n"), 0;
  if (cmd == L"pixel") {
    // pixel X Y [X Y ...]: the screen colours, on one line.
    std::wstring line;
    for (int k = i; k + 1 < argc; k += 2) line += (k > i ? L" " : L"") + Pixel({_wtoi(argv[k]), _wtoi(argv[k + 1])});
    return Print(line + L"\n"), 0;
  }
  if (cmd == L"taskbarcreated") {
    // What the shell broadcasts when its notification area is made again;
    // returns once every top-level window has handled it.
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr), 0;
  }
  if (cmd == L"trayicon" && !arg(0).empty()) return TrayIcon(reinterpret_cast<HWND>(_wtoi64(arg(0).c_str())), NIM_MODIFY);
  if (cmd == L"focus") {
    // Where the keyboard goes: "editor", "notepad", a main window's child by its name, or "other".
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND focus = GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr, root = GetAncestor(focus, GA_ROOT);
    std::wstring name = !root ? L"other" : root == FindWindowW(nullptr, L"HotkeyTestEditor") ? L"editor"
                        : root == FindWindowW(L"Notepad", nullptr) ? L"notepad" : L"other";
    for (HWND main : MainWindows()) {
      if (root == main && NamesIn(main).count(focus)) name = NamesIn(main)[focus];
    }
    return Print(name + L"\n"), 0;
  }
  if (cmd == L"editor" || cmd == L"notepad" || cmd == L"peer") {
    // The test editor, Wine's Notepad, or test_editor's clipboard reader.
    const wchar_t* title = cmd == L"editor" ? L"HotkeyTestEditor" : cmd == L"peer" ? L"ClipPeer" : nullptr;
    HWND tool = WaitFor(waitMs, [title] { return FindWindowW(title ? nullptr : L"Notepad", title); });
    if (!tool) return fputs("probe: no such window\n", stderr), 1;
    // The box may sit in a pane of another process (test_editor --guest-edit).
    HWND pane = FindWindowExW(tool, nullptr, L"ClipGuestPane", nullptr);
    HWND box = FindWindowExW(pane ? pane : tool, nullptr, L"Edit", nullptr);
    std::wstring what = arg(0);
    // await TEXT: the box's text once it equals TEXT, or as it is after --wait ms.
    if (what == L"await") WaitFor(waitMs, [&] { return TextOf(box) == arg(1); }, 10);
    if (what == L"text" || what == L"await") Print(TextOf(box));
    else if (what == L"rect") Print(RectOf(box));
    else if (what == L"clear") SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    else if (what == L"late") SendMessageW(box, WM_APP + 7, static_cast<WPARAM>(_wtoi(arg(1).c_str())), 0);
    else if (what == L"boxprocess") Print(Num(ProcessOf(box) == ProcessOf(tool) ? 0 : 1) + L"\n");
    else if (what == L"close") SendMessageW(box, EM_SETMODIFY, FALSE, 0), PostMessageW(tool, WM_CLOSE, 0, 0);
    else if (what == L"hotkeys" || cmd == L"peer") {  // the counts test_editor keeps
      for (wchar_t& c : what) c = static_cast<wchar_t>(towupper(c));
      Print(Num(Prop(tool, what.c_str())) + L"\n");
    } else return Usage();
    return 0;
  }

  // The main window once start-up has shown it; with --any as soon as it
  // exists, also while hidden in the tray.
  HWND main = WaitFor(waitMs, [anyState] {
    const auto all = MainWindows();
    const auto found = std::find_if(all.begin(), all.end(), [&](HWND h) { return anyState || IsWindowVisible(h); });
    return found == all.end() ? nullptr : *found;
  });
  if (!main) return fputs("probe: main window not found\n", stderr), 1;
  HWND picture = FindWindowExW(main, nullptr, L"ThunderRT6PictureBoxDC", nullptr);
  const auto slots = ChildrenOf(main, L"Edit"), buttons = ChildrenOf(main, L"Button");
  const auto n = static_cast<size_t>(_wtoi(arg(0).c_str()) - 1), b = 2 * n + (arg(1) == L"clear");
  HWND slot = n < slots.size() ? slots[n] : nullptr, button = b < buttons.size() ? buttons[b] : nullptr;

  if (cmd == L"title") Print(TextOf(main) + L"\n");
  else if (cmd == L"rect") Print(RectOf(main));
  else if (cmd == L"topmost") Print((GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) ? L"1\n" : L"0\n");
  else if (cmd == L"state")
    Print(std::wstring(IsIconic(main) ? L"minimized" : IsZoomed(main) ? L"maximized" : L"normal") +
          (IsWindowVisible(main) ? L" visible\n" : L" hidden\n"));
  else if (cmd == L"close") PostMessageW(main, WM_CLOSE, 0, 0);
  else if (cmd == L"minimize") PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  else if (cmd == L"picture") Print(Num(static_cast<long long>(reinterpret_cast<UINT_PTR>(picture))) + L"\n");
  else if (cmd == L"trayicon") return TrayIcon(picture, NIM_MODIFY);
  else if (cmd == L"traydelete") return TrayIcon(picture, NIM_DELETE);
  else if (cmd == L"tip") {
    HWND tip = VisibleOfClass(GetWindowThreadProcessId(main, nullptr), TOOLTIPS_CLASSW);
    Print(tip ? TextOf(tip) : L"<no tooltip>");
  } else if (cmd == L"slot" && slot) Print(TextOf(slot));
  else if (cmd == L"slotrect" && slot) Print(RectOf(slot));
  else if (cmd == L"setslot" && slot) SendMessageW(slot, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(arg(1).c_str()));
  else if (cmd == L"button" && button) Print(RectOf(button));
  else if (cmd == L"faces") {
    // The buttons not at rest in their normal face: "N get|clear STATE", with
    // "fading" while their fade timer runs.
    const wchar_t* states[] = {L"normal", L"hot", L"pressed", L"disabled"};
    std::wstring line;
    for (size_t k = 0; k < buttons.size(); ++k) {
      const INT_PTR state = Prop(buttons[k], L"OLDSTATE"), fading = Prop(buttons[k], L"TIMERID");
      const std::wstring face = (state >= 0 && state <= 3 ? states[state] : Num(state)) + (fading ? L" fading" : L"");
      if (state || fading) line += (line.empty() ? L"" : L", ") + ButtonName(k) + L" " + face;
    }
    Print(line + L"\n");
  } else if (cmd == L"shot") return look::SavePng(arg(0), Shot(main)) ? 0 : 1;
  else if (cmd == L"look") return Look(main, arg(0), arg(1));
  else if (cmd == L"restless") {
    // Started before a burst ("ready"): waits up to MS for it to reach the
    // buttons (one not at rest), then up to 30 s for all to rest; prints how
    // many do not, and for those which they are.
    Print(L"ready\n");
    const auto seeMs = static_cast<DWORD>(_wtoi(arg(1).c_str()));
    if (!WaitFor(seeMs, [&] { return Restive(buttons, arg(0)); }, 10)) return Print(L"no burst\n"), 0;
    WaitFor(30000, [&] { return !Restive(buttons, arg(0)); }, 20);
    std::wstring behind;
    Print(Num(Restive(buttons, arg(0), &behind)) + behind + L"\n");
  } else return Usage();
  return 0;
}

