// probe: reads and pokes the running program's windows for the end-to-end
// scripts, from inside the Wine desktop "shell" the program runs in. Prints
// UTF-8; exit code 0 on success, 1 when the window is missing or the request
// fails, 2 on bad usage.
//   probe [--wait MS] [--any] [--image TEXT] [--until RRGGBB] COMMAND ARGS...
// Without the program: errorbox [ok], clipboard, cursor, anytip, popupmenu,
// count, foreground, notice, pixel X Y..., taskbarcreated, trayicon HWND, focus,
// editor|notepad text|await TEXT|rect|hotkeys|clear|late MS|boxprocess|close, peer updates|reads|asked|renders|release|close.
// Of the program's main window (--any: also hidden; --image: of the copy whose
// path contains TEXT): title, rect, topmost, state, close, minimize, picture,
// trayicon, traydelete, tip, slot N, slotrect N, setslot N TEXT, button N [clear],
// skin N [clear], watch N [clear], responds N, faces, shot FILE,
// look REFERENCE FOLDER, taborder.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/look/picture.h"

namespace {

std::wstring imageFilter;  // only main windows whose executable path contains this
std::wstring watchUntil;   // the colour a watch waits for

void Print(const std::wstring& text) {
  std::string bytes(text.size() * 4, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                       bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
  fwrite(bytes.data(), 1, bytes.size(), stdout);
  fflush(stdout);
}

std::wstring Num(long long v) { return std::to_wstring(v); }

DWORD ProcessOfWindow(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid;
}

std::wstring ClassOf(HWND h) {
  wchar_t buf[256] = {};
  GetClassNameW(h, buf, 256);
  return buf;
}

std::wstring TextOf(HWND h) {
  std::wstring s(static_cast<size_t>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  s.resize(static_cast<size_t>(SendMessageW(h, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()))));
  return s;
}

RECT Bounds(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}
// Left ring of a button's face, beside the caption.
POINT FaceSpot(HWND button) {
  const RECT r = Bounds(button);
  return {r.left + 1, (r.top + r.bottom) / 2};
}

std::wstring RectOf(HWND h) {
  const RECT r = Bounds(h);
  return Num(r.left) + L" " + Num(r.top) + L" " + Num(r.right - r.left) + L" " + Num(r.bottom - r.top) + L"\n";
}

bool ImageMatches(HWND h) {
  if (imageFilter.empty()) return true;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  bool ok = process && QueryFullProcessImageNameW(process, 0, path, &size);
  if (process) CloseHandle(process);
  return ok && std::wstring(path).find(imageFilter) != std::wstring::npos;
}

std::vector<HWND> MainWindows() {
  std::vector<HWND> out;
  for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, nullptr, L"朔禾剪贴板 V1.3")) != nullptr;) {
    if (ImageMatches(h)) out.push_back(h);
  }
  return out;
}

// Polls find() until it gives a window or the time is up.
template <typename F>
HWND WaitFor(DWORD ms, F find) {
  for (DWORD start = GetTickCount();; Sleep(50)) {
    if (HWND h = find()) return h;
    if (GetTickCount() - start >= ms) return nullptr;
  }
}

// Direct children of one class, top to bottom, then left to right.
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* cls) {
  struct Ctx { HWND parent; const wchar_t* cls; std::vector<HWND> out; } ctx{parent, cls, {}};
  EnumChildWindows(parent, [](HWND h, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Ctx*>(lp);
    if (GetParent(h) == c->parent && lstrcmpiW(ClassOf(h).c_str(), c->cls) == 0) c->out.push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&ctx));
  std::sort(ctx.out.begin(), ctx.out.end(), [](HWND a, HWND b) {
    const RECT ra = Bounds(a), rb = Bounds(b);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return ctx.out;
}

HWND Nth(const std::vector<HWND>& v, size_t i) { return i < v.size() ? v[i] : nullptr; }

// The first visible window of a class among top-level windows (of one
// thread, or of every program with thread 0).
HWND VisibleOfClass(DWORD thread, const wchar_t* cls) {
  struct Ctx { const wchar_t* cls; HWND found; } ctx{cls, nullptr};
  WNDENUMPROC proc = [](HWND h, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Ctx*>(lp);
    if (lstrcmpiW(ClassOf(h).c_str(), c->cls) != 0 || !IsWindowVisible(h)) return TRUE;
    c->found = h;
    return FALSE;
  };
  if (thread) EnumThreadWindows(thread, proc, reinterpret_cast<LPARAM>(&ctx));
  else EnumWindows(proc, reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

std::wstring Pixel(POINT p) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  wchar_t buf[16];
  swprintf(buf, 16, L"%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

// The colours of one pixel, one per change, until it has shown UNTIL (or,
// without it, any change) and then kept still for half a second; 30 s at most.
std::wstring Watch(POINT spot, const std::wstring& until) {
  std::wstring series = Pixel(spot), last = series;
  Print(L"ready\n");
  DWORD start = GetTickCount(), changed = 0;
  bool reached = false;
  while (GetTickCount() - start < 30000 && !(reached && GetTickCount() - changed >= 500)) {
    std::wstring now = Pixel(spot);
    if (now != last) series += L" " + now, last = now, changed = GetTickCount();
    reached = changed && (until.empty() || last == until);
    Sleep(2);
  }
  return series + L"\n";
}

// The main window as the screen shows it, where text is drawn in it (window
// coordinates) and what each part of it is.
struct Scene {
  look::Picture picture;
  std::vector<RECT> text;
  std::vector<std::pair<std::wstring, RECT>> parts;
};

Scene SceneOf(HWND main) {
  Scene scene;
  const RECT r = Bounds(main);
  POINT client = {0, 0};
  ClientToScreen(main, &client);
  scene.parts.emplace_back(L"title bar", RECT{0, 0, r.right - r.left, client.y - r.top});
  scene.text.push_back(scene.parts.back().second);
  const auto labels = ChildrenOf(main, L"Static"), slots = ChildrenOf(main, L"Edit");
  const auto buttons = ChildrenOf(main, L"Button");
  for (size_t i = 0; i < 9 && i < labels.size() && i < slots.size() && 2 * i + 1 < buttons.size(); ++i) {
    const std::wstring slot = L"slot " + Num(static_cast<long long>(i + 1));
    scene.parts.emplace_back(slot + L" label", look::WindowIn(main, labels[i]));
    scene.text.push_back(scene.parts.back().second);
    RECT inside = {};
    GetClientRect(slots[i], &inside);
    MapWindowPoints(slots[i], nullptr, reinterpret_cast<POINT*>(&inside), 2);
    OffsetRect(&inside, -r.left, -r.top);
    scene.text.push_back(inside);
    scene.parts.emplace_back(slot + L" text box", look::WindowIn(main, slots[i]));
    for (int clear : {0, 1}) {
      HWND b = buttons[2 * i + clear];
      scene.parts.emplace_back(slot + (clear ? L" clear button" : L" assign button"), look::WindowIn(main, b));
      scene.text.push_back(look::InWindow(main, b, look::ButtonCaptionZone(b)));
    }
  }
  HDC screen = GetDC(nullptr);
  scene.picture = look::Grab(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
  ReleaseDC(nullptr, screen);
  return scene;
}

// Compares the window with the reference, again for up to 3 s while they
// differ (the screen may lag behind the window a moment); on a difference
// writes what it saw and the differences into `folder` and names the parts.
int Look(HWND main, const std::wstring& reference, const std::wstring& folder) {
  look::Picture want;
  if (!look::LoadPng(reference, want)) return fputs("probe: cannot read the reference\n", stderr), 1;
  Scene scene;
  look::Difference d;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(100)) {
    scene = SceneOf(main);
    d = look::Compare(want, scene.picture, scene.text);
    if (d.pixels == 0) return Print(L"same\n"), 0;
  }
  look::SavePng(folder + L"\\window-seen.png", scene.picture);
  look::SavePng(folder + L"\\window-diff.png", d.picture);
  std::wstring report = L"differs: " + look::DescribeIn(d, {0, 0, want.width, want.height});
  for (const auto& [name, area] : scene.parts) {
    const std::wstring found = look::DescribeIn(d, area);
    if (!found.empty()) report += L"; " + name + L": " + found;
  }
  return Print(report + L" (window-seen.png, window-diff.png)\n"), 0;
}

int PrintClipboard() {
  for (int i = 0; !OpenClipboard(nullptr); ++i, Sleep(20)) if (i == 100) return 1;
  int count = CountClipboardFormats();
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  std::wstring text = chars ? chars : L"";
  if (chars) GlobalUnlock(data);
  CloseClipboard();
  Print(count == 0 ? L"<empty>" : chars ? text : L"<no text: " + Num(count) + L" formats>");
  return 0;
}

int TrayIcon(HWND picture, DWORD op) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d), d.hWnd = picture, d.uID = 1;
  Print(Shell_NotifyIconW(op, &d) ? L"1\n" : L"0\n");  // a no-op modify succeeds only for a shown icon
  return 0;
}

int Usage() { return fputs("probe: unknown command (see the comments in probe.cpp)\n", stderr), 2; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  DWORD waitMs = 10000;
  bool anyState = false;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-'; ++i) {
    std::wstring opt = argv[i];
    if (opt == L"--any") anyState = true;
    else if (opt == L"--wait") waitMs = static_cast<DWORD>(_wtoi(argv[++i]));
    else if (opt == L"--image") imageFilter = argv[++i];
    else if (opt == L"--until") watchUntil = argv[++i];
    else return Usage();
  }
  if (i >= argc) return Usage();
  std::wstring cmd = argv[i++];
  auto arg = [&](int k) { return i + k < argc ? std::wstring(argv[i + k]) : std::wstring(); };

  // The desktop appears a moment after the program is started.
  HDESK desk = nullptr;
  WaitFor(waitMs, [&] { return (desk = OpenDesktopW(L"shell", 0, FALSE, GENERIC_ALL)) ? GetDesktopWindow() : nullptr; });
  if (!desk || !SetThreadDesktop(desk)) return fputs("probe: cannot join the desktop\n", stderr), 1;

  if (cmd == L"errorbox") {
    HWND box = WaitFor(waitMs, [] { return FindWindowW(L"#32770", L"朔禾剪贴板"); });
    if (!box) return fputs("probe: no error box\n", stderr), 1;
    std::wstring text;
    for (HWND s : ChildrenOf(box, L"Static")) {
      if (GetWindowTextLengthW(s) > 0) text += TextOf(s) + L"\n";
    }
    Print(text);
    if (arg(0) == L"ok") PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (cmd == L"clipboard") return PrintClipboard();
  if (cmd == L"cursor") {
    POINT pt{};
    GetCursorPos(&pt);
    return Print(Num(pt.x) + L" " + Num(pt.y) + L"\n"), 0;
  }
  if (cmd == L"anytip") {
    HWND tip = VisibleOfClass(0, TOOLTIPS_CLASSW);
    if (!tip) return Print(L"<no tooltip>\n"), 1;
    return Print(TextOf(tip) + L"\n" + RectOf(tip)), 0;
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
    for (int k = i; k + 1 < argc; k += 2) line += (line.empty() ? L"" : L" ") + Pixel({_wtoi(argv[k]), _wtoi(argv[k + 1])});
    return Print(line + L"\n"), 0;
  }
  if (cmd == L"taskbarcreated") {
    // What the shell broadcasts when its notification area is made again;
    // returns once every top-level window has handled it.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return 0;
  }
  if (cmd == L"trayicon" && !arg(0).empty()) {
    return TrayIcon(reinterpret_cast<HWND>(static_cast<UINT_PTR>(_wcstoui64(arg(0).c_str(), nullptr, 10))), NIM_MODIFY);
  }
  if (cmd == L"focus") {
    // Where the keyboard goes: "editor", "notepad", "slot N", "button N get|clear" or "other".
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(0, &info);
    HWND editor = FindWindowW(nullptr, L"HotkeyTestEditor"), notepad = FindWindowW(L"Notepad", nullptr);
    if (info.hwndFocus && editor && GetAncestor(info.hwndFocus, GA_ROOT) == editor) return Print(L"editor\n"), 0;
    if (info.hwndFocus && notepad && GetParent(info.hwndFocus) == notepad) return Print(L"notepad\n"), 0;
    for (HWND main : MainWindows()) {
      auto slots = ChildrenOf(main, L"Edit");
      auto it = std::find(slots.begin(), slots.end(), info.hwndFocus);
      if (it != slots.end()) return Print(L"slot " + Num(it - slots.begin() + 1) + L"\n"), 0;
      auto buttons = ChildrenOf(main, L"Button");
      auto b = std::find(buttons.begin(), buttons.end(), info.hwndFocus) - buttons.begin();
      if (b < static_cast<ptrdiff_t>(buttons.size())) {
        return Print(L"button " + Num(b / 2 + 1) + (b % 2 ? L" clear\n" : L" get\n")), 0;
      }
    }
    return Print(L"other\n"), 0;
  }
  if (cmd == L"editor" || cmd == L"notepad") {
    // The test editor, or Wine's Notepad, and their edit box.
    const bool notepad = cmd == L"notepad";
    HWND editor = WaitFor(waitMs, [notepad] {
      return notepad ? FindWindowW(L"Notepad", nullptr) : FindWindowW(nullptr, L"HotkeyTestEditor");
    });
    if (!editor) return fputs("probe: editor not found\n", stderr), 1;
    // The box may sit in a pane of another process (test_editor --guest-edit).
    HWND pane = FindWindowExW(editor, nullptr, L"ClipGuestPane", nullptr);
    HWND box = FindWindowExW(pane ? pane : editor, nullptr, L"Edit", nullptr);
    std::wstring what = arg(0);
    if (what == L"text") Print(TextOf(box));
    else if (what == L"await") {
      // await TEXT: the box's text once it equals TEXT, or as it is after --wait ms.
      const std::wstring want = arg(1);
      for (const DWORD start = GetTickCount(); TextOf(box) != want && GetTickCount() - start < waitMs;) Sleep(10);
      Print(TextOf(box));
    } else if (what == L"rect") Print(RectOf(box));
    else if (what == L"hotkeys") Print(Num(reinterpret_cast<INT_PTR>(GetPropW(editor, L"HOTKEYS"))) + L"\n");
    else if (what == L"clear") SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    else if (what == L"late") SendMessageW(box, WM_APP + 7, static_cast<WPARAM>(_wtoi(arg(1).c_str())), 0);
    else if (what == L"boxprocess") Print(Num(ProcessOfWindow(box) == ProcessOfWindow(editor) ? 0 : 1) + L"\n");
    else if (what == L"close") SendMessageW(box, EM_SETMODIFY, FALSE, 0), PostMessageW(editor, WM_CLOSE, 0, 0);
    else return Usage();
    return 0;
  }
  if (cmd == L"peer") {
    HWND peer = WaitFor(waitMs, [] { return FindWindowW(L"ClipPeerWindow", L"ClipPeer"); });
    if (!peer) return fputs("probe: no clipboard reader or owner\n", stderr), 1;
    std::wstring what = arg(0);
    if (what == L"close") return PostMessageW(peer, WM_CLOSE, 0, 0), 0;
    if (what == L"release") {
      HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"ClipPeerRelease");
      return SetEvent(release), CloseHandle(release), 0;
    }
    for (wchar_t& c : what) c = static_cast<wchar_t>(towupper(c));
    return Print(Num(reinterpret_cast<INT_PTR>(GetPropW(peer, what.c_str()))) + L"\n"), 0;
  }

  // The main window once start-up has shown it; with --any as soon as it
  // exists, also while hidden in the tray.
  HWND main = WaitFor(waitMs, [anyState] {
    for (HWND h : MainWindows()) {
      if (anyState || IsWindowVisible(h)) return h;
    }
    return static_cast<HWND>(nullptr);
  });
  if (!main) return fputs("probe: main window not found\n", stderr), 1;
  HWND picture = FindWindowExW(main, nullptr, L"ThunderRT6PictureBoxDC", nullptr);
  int n = _wtoi(arg(0).c_str());
  HWND slot = Nth(ChildrenOf(main, L"Edit"), static_cast<size_t>(n - 1));
  HWND button = Nth(ChildrenOf(main, L"Button"), static_cast<size_t>(2 * (n - 1) + (arg(1) == L"clear")));

  if (cmd == L"title") Print(TextOf(main) + L"\n");
  else if (cmd == L"rect") Print(RectOf(main));
  else if (cmd == L"topmost") Print((GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) ? L"1\n" : L"0\n");
  else if (cmd == L"state") {
    Print(IsIconic(main) ? L"minimized" : IsZoomed(main) ? L"maximized" : L"normal");
    Print(IsWindowVisible(main) ? L" visible\n" : L" hidden\n");
  } else if (cmd == L"close") PostMessageW(main, WM_CLOSE, 0, 0);
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
  else if (cmd == L"taborder") {
    // Every child in the order Tab walks them (the window order): "label N",
    // "slot N", "button N get|clear", "tray" or the class name.
    const auto labels = ChildrenOf(main, L"Static"), slots = ChildrenOf(main, L"Edit"), buttons = ChildrenOf(main, L"Button");
    const auto place = [](const std::vector<HWND>& v, HWND h) { return std::find(v.begin(), v.end(), h) - v.begin(); };
    std::wstring line;
    for (HWND h = GetWindow(main, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
      std::wstring name = ClassOf(h);
      if (place(labels, h) < static_cast<ptrdiff_t>(labels.size())) name = L"label " + Num(place(labels, h) + 1);
      else if (place(slots, h) < static_cast<ptrdiff_t>(slots.size())) name = L"slot " + Num(place(slots, h) + 1);
      else if (place(buttons, h) < static_cast<ptrdiff_t>(buttons.size()))
        name = L"button " + Num(place(buttons, h) / 2 + 1) + (place(buttons, h) % 2 ? L" clear" : L" get");
      else if (h == picture) name = L"tray";
      line += (line.empty() ? L"" : L", ") + name;
    }
    Print(line + L"\n");
  }
  else if (cmd == L"button" && button) Print(RectOf(button));
  else if (cmd == L"skin" && button) {
    // The skin's record of a button: state, level, fade timer, pointer flag.
    for (const wchar_t* key : {L"OLDSTATE", L"ALPHALEVEL", L"TIMERID", L"MOUSEFLAG"}) {
      Print(Num(reinterpret_cast<INT_PTR>(GetPropW(button, key))) + (key[0] == L'M' ? L"\n" : L" "));
    }
  } else if (cmd == L"watch" && button) Print(Watch(FaceSpot(button), watchUntil));
  else if (cmd == L"responds" && slot) {
    // Posts a harmless change (the box's left margin) and prints how many
    // milliseconds the program took to handle it, "no" after 10 s; the
    // margin is put back afterwards.
    const auto margins = static_cast<DWORD>(SendMessageW(slot, EM_GETMARGINS, 0, 0));
    const WORD left = LOWORD(margins);
    PostMessageW(slot, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(left + 1, 0));
    const DWORD start = GetTickCount();
    while (LOWORD(SendMessageW(slot, EM_GETMARGINS, 0, 0)) == left) {
      if (GetTickCount() - start > 10000) return Print(L"no\n"), 0;
      Sleep(5);
    }
    Print(Num(GetTickCount() - start) + L"\n");
    SendMessageW(slot, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(left, 0));
  } else if (cmd == L"faces") {
    // The buttons not at rest in their normal face: "N get|clear STATE", with
    // "fading" while their fade timer runs.
    const wchar_t* names[] = {L"normal", L"hot", L"pressed", L"disabled"};
    std::wstring line;
    const std::vector<HWND> buttons = ChildrenOf(main, L"Button");
    for (size_t k = 0; k < buttons.size(); ++k) {
      const INT_PTR state = reinterpret_cast<INT_PTR>(GetPropW(buttons[k], L"OLDSTATE"));
      const bool fading = GetPropW(buttons[k], L"TIMERID") != nullptr;
      if (state == 0 && !fading) continue;
      line += (line.empty() ? L"" : L", ") + Num(static_cast<long long>(k / 2 + 1)) + (k % 2 ? L" clear " : L" get ") +
              (state >= 0 && state <= 3 ? names[state] : Num(state)) + (fading ? L" fading" : L"");
    }
    Print(line + L"\n");
  } else if (cmd == L"shot") return look::SavePng(arg(0), SceneOf(main).picture) ? 0 : 1;
  else if (cmd == L"look") return Look(main, arg(0), arg(1));
  else if (cmd == L"restless") {
    // Started before a burst ("ready"): waits up to arg(1) ms (30 s) for it to
    // reach the buttons (one not at rest: state Normal, no timer, no pointer
    // flag, face colour arg(0) on screen), then up to 30 s for all to rest;
    // prints how many do not, and for those: which, their record, their face,
    // and whether they come to rest within 60 s.
    auto restive = [&](HWND b) {
      return Pixel(FaceSpot(b)) != arg(0) || GetPropW(b, L"OLDSTATE") || GetPropW(b, L"TIMERID") ||
             GetPropW(b, L"MOUSEFLAG");
    };
    auto count = [&] {
      int n = 0;
      for (HWND b : ChildrenOf(main, L"Button")) n += restive(b);
      return n;
    };
    Print(L"ready\n");
    int restless = 0;
    const DWORD seeMs = arg(1).empty() ? 30000 : static_cast<DWORD>(_wtoi(arg(1).c_str()));
    for (const DWORD start = GetTickCount(); (restless = count()) == 0; Sleep(10)) {
      if (GetTickCount() - start > seeMs) return Print(L"no burst\n"), 0;
    }
    const DWORD start = GetTickCount();
    while ((restless = count()) != 0 && GetTickCount() - start <= 30000) Sleep(20);
    Print(Num(restless));
    if (restless != 0) {
      // What is behind, and whether it comes to rest later or is stuck.
      const std::vector<HWND> buttons = ChildrenOf(main, L"Button");
      for (size_t i = 0; i < buttons.size(); ++i) {
        if (!restive(buttons[i])) continue;
        Print(L" [" + Num(static_cast<long long>(i / 2 + 1)) + (i % 2 ? L" clear" : L" get"));
        for (const wchar_t* key : {L"OLDSTATE", L"ALPHALEVEL", L"TIMERID", L"MOUSEFLAG"}) {
          Print(L" " + Num(reinterpret_cast<INT_PTR>(GetPropW(buttons[i], key))));
        }
        Print(L" " + Pixel(FaceSpot(buttons[i])) + L"]");
      }
      while (count() != 0 && GetTickCount() - start <= 60000) Sleep(20);
      Print(count() == 0 ? L", at rest after " + Num(GetTickCount() - start) + L" ms" : L", still after 60 s");
    }
    Print(L"\n");
  } else return Usage();
  return 0;
}
