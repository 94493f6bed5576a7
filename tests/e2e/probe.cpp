// probe: reads and pokes the running program's windows for the end-to-end
// scripts. Joins the named Wine desktop first (--desktop NAME), so that it
// sees the windows of a program started with `explorer /desktop=NAME`.
// Prints UTF-8 on stdout; exit code 0 on success, 1 when the window is
// missing or the request fails, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t kTitle[] = L"朔禾剪贴板 V1.3";

void Print(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  if (n > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  }
  fwrite(bytes.data(), 1, bytes.size(), stdout);
  fflush(stdout);
}

std::wstring ClassOf(HWND h) {
  wchar_t buf[256] = {};
  GetClassNameW(h, buf, 256);
  return buf;
}

std::wstring TextOf(HWND h) {
  LRESULT len = SendMessageW(h, WM_GETTEXTLENGTH, 0, 0);
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  LRESULT got = SendMessageW(h, WM_GETTEXT, static_cast<WPARAM>(len + 1), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(got));
  return s;
}

// Only main windows whose process image path contains this (--image).
std::wstring imageFilter;

std::wstring Lower(std::wstring s) {
  CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

bool ImageMatches(HWND h) {
  if (imageFilter.empty()) return true;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return false;
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  bool ok = QueryFullProcessImageNameW(process, 0, path, &size) != FALSE;
  CloseHandle(process);
  return ok && Lower(path).find(Lower(imageFilter)) != std::wstring::npos;
}

// The top-level windows titled like the program that pass the image filter.
std::vector<HWND> MainWindows() {
  std::vector<HWND> out;
  HWND h = nullptr;
  while ((h = FindWindowExW(nullptr, h, nullptr, kTitle)) != nullptr) {
    if (ImageMatches(h)) out.push_back(h);
  }
  return out;
}

// The main window once start-up has shown it (or, with anyState, as soon as
// it exists, also while hidden in the tray).
HWND FindMain(DWORD timeoutMs, bool anyState) {
  DWORD start = GetTickCount();
  for (;;) {
    for (HWND h : MainWindows()) {
      if (anyState || IsWindowVisible(h)) return h;
    }
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

// Direct children of one system class, ordered top to bottom, then left to right.
std::vector<HWND> ChildrenOf(HWND parent, const wchar_t* cls) {
  struct Ctx { const wchar_t* cls; HWND parent; std::vector<HWND> out; } ctx{cls, parent, {}};
  EnumChildWindows(parent, [](HWND h, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Ctx*>(lp);
    if (GetParent(h) == c->parent && lstrcmpiW(ClassOf(h).c_str(), c->cls) == 0) c->out.push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&ctx));
  std::sort(ctx.out.begin(), ctx.out.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return ctx.out;
}

HWND SlotEdit(HWND main, int n) {
  auto edits = ChildrenOf(main, L"Edit");
  if (n < 1 || n > static_cast<int>(edits.size())) return nullptr;
  return edits[static_cast<size_t>(n - 1)];
}

// Buttons of slot n: the two buttons on the slot's row, assign left, clear right.
HWND SlotButton(HWND main, int n, bool clear) {
  auto buttons = ChildrenOf(main, L"Button");
  size_t i = static_cast<size_t>((n - 1) * 2 + (clear ? 1 : 0));
  return i < buttons.size() ? buttons[i] : nullptr;
}

// The text of the program's visible tooltip (shown after the pointer rests
// on a control), or "<no tooltip>".
std::wstring VisibleTooltip(HWND main) {
  struct Ctx { std::wstring text; bool found; } ctx{{}, false};
  DWORD tid = GetWindowThreadProcessId(main, nullptr);
  EnumThreadWindows(tid, [](HWND h, LPARAM lp) -> BOOL {
    auto* c = reinterpret_cast<Ctx*>(lp);
    if (lstrcmpiW(ClassOf(h).c_str(), TOOLTIPS_CLASSW) != 0 || !IsWindowVisible(h)) return TRUE;
    c->text = TextOf(h);
    c->found = true;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&ctx));
  return ctx.found ? ctx.text : L"<no tooltip>";
}

// The program's error report: a dialog box titled with the product name.
// Prints its message text; with ok, also presses its OK button.
int ErrorBox(bool ok, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  HWND box = nullptr;
  while (!(box = FindWindowW(L"#32770", L"朔禾剪贴板")) && GetTickCount() - start < timeoutMs) Sleep(50);
  if (!box) {
    fputs("probe: no error box\n", stderr);
    return 1;
  }
  std::wstring text;
  EnumChildWindows(box, [](HWND h, LPARAM lp) -> BOOL {
    if (lstrcmpiW(ClassOf(h).c_str(), L"Static") == 0 && GetWindowTextLengthW(h) > 0) {
      auto* t = reinterpret_cast<std::wstring*>(lp);
      if (!t->empty()) *t += L"\n";
      *t += TextOf(h);
    }
    return TRUE;
  }, reinterpret_cast<LPARAM>(&text));
  Print(text + L"\n");
  if (ok) PostMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

// The test editor's window and its edit box.
HWND FindEditor(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  HWND h;
  while (!(h = FindWindowW(nullptr, L"HotkeyTestEditor")) && GetTickCount() - start < timeoutMs) Sleep(50);
  return h;
}

// The clipboard as the programs inside Wine see it: "<empty>", the text, or
// "<no text: N formats>".
int PrintClipboard() {
  for (int i = 0; !OpenClipboard(nullptr); ++i) {
    if (i == 100) return 1;
    Sleep(20);
  }
  int count = CountClipboardFormats();
  std::wstring text;
  bool hasText = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      hasText = true;
    }
    GlobalUnlock(data);
  }
  CloseClipboard();
  if (count == 0) {
    Print(L"<empty>");
  } else if (hasText) {
    Print(text);
  } else {
    Print(L"<no text: " + std::to_wstring(count) + L" formats>");
  }
  return 0;
}

// The program's tray icon record key: its picture box window and id 1.
NOTIFYICONDATAW TrayRecord(HWND pictureBox) {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof(d);
  d.hWnd = pictureBox;
  d.uID = 1;
  return d;
}

HWND PictureBoxOf(HWND main) {
  return FindWindowExW(main, nullptr, L"ThunderRT6PictureBoxDC", nullptr);
}

// The visible tooltip of any program (the notification area's, for example):
// its text, then its window rectangle on the next line.
int AnyTooltip() {
  struct Ctx { HWND found; } ctx{nullptr};
  EnumWindows([](HWND h, LPARAM lp) -> BOOL {
    if (lstrcmpiW(ClassOf(h).c_str(), TOOLTIPS_CLASSW) != 0 || !IsWindowVisible(h)) return TRUE;
    reinterpret_cast<Ctx*>(lp)->found = h;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&ctx));
  if (!ctx.found) {
    Print(L"<no tooltip>\n");
    return 1;
  }
  Print(TextOf(ctx.found) + L"\n");
  RECT r;
  GetWindowRect(ctx.found, &r);
  wchar_t buf[128];
  swprintf(buf, 128, L"%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  Print(buf);
  return 0;
}

int Usage() {
  fputs("usage: probe [--desktop NAME] [--wait MS] [--any] COMMAND ...\n"
        "  find | rect | client | dpi | topmost | state | close | title\n"
        "  errorbox | errorbox-ok\n  tip | slot N | slotrect N | button N assign|clear | controls\n"
        "  count | minimize | trayicon [HWND] | traydelete | picture\n"
        "  editor | editorrect | editorhotkeys | editorclose | editorclear\n  clipboard | anytip | popupmenu | taskbarcreated\n"
        "  --image TEXT picks the program whose executable path contains TEXT\n", stderr);
  return 2;
}

void PrintRect(const RECT& r) {
  wchar_t buf[128];
  swprintf(buf, 128, L"%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  Print(buf);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  int i = 1;
  DWORD waitMs = 10000;
  std::wstring desktop;
  bool anyState = false;
  while (i < argc && argv[i][0] == L'-' && argv[i][1] == L'-') {
    std::wstring opt = argv[i];
    if (opt == L"--desktop" && i + 1 < argc) {
      desktop = argv[i + 1];
      i += 2;
    } else if (opt == L"--any") {
      anyState = true;
      ++i;
    } else if (opt == L"--image" && i + 1 < argc) {
      imageFilter = argv[i + 1];
      i += 2;
    } else if (opt == L"--wait" && i + 1 < argc) {
      waitMs = static_cast<DWORD>(_wtoi(argv[i + 1]));
      i += 2;
    } else {
      return Usage();
    }
  }
  if (!desktop.empty()) {
    // The desktop appears a moment after the program is started.
    DWORD start = GetTickCount();
    HDESK desk = nullptr;
    while (!(desk = OpenDesktopW(desktop.c_str(), 0, FALSE, GENERIC_ALL)) && GetTickCount() - start < waitMs) Sleep(50);
    if (!desk || !SetThreadDesktop(desk)) {
      fputs("probe: cannot join the desktop\n", stderr);
      return 1;
    }
  }
  if (i >= argc) return Usage();
  std::wstring cmd = argv[i++];
  if (cmd == L"errorbox" || cmd == L"errorbox-ok") return ErrorBox(cmd == L"errorbox-ok", waitMs);
  if (cmd == L"clipboard") return PrintClipboard();
  if (cmd == L"anytip") return AnyTooltip();
  if (cmd == L"popupmenu") {
    // Whether any program shows a pop-up menu.
    HWND menu = FindWindowW(L"#32768", nullptr);
    Print(menu && IsWindowVisible(menu) ? L"1\n" : L"0\n");
    return 0;
  }
  if (cmd == L"count") {
    Print(std::to_wstring(MainWindows().size()) + L"\n");
    return 0;
  }
  if (cmd == L"taskbarcreated") {
    // What the shell broadcasts when its notification area is created again.
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return 0;
  }
  if (cmd == L"trayicon" && i < argc) {
    // Whether the icon of a (perhaps gone) picture box window is still shown:
    // a modification that changes nothing succeeds only for an existing icon.
    NOTIFYICONDATAW d = TrayRecord(reinterpret_cast<HWND>(static_cast<UINT_PTR>(_wcstoui64(argv[i], nullptr, 10))));
    Print(Shell_NotifyIconW(NIM_MODIFY, &d) ? L"1\n" : L"0\n");
    return 0;
  }
  if (cmd == L"editor" || cmd == L"editorrect" || cmd == L"editorhotkeys" || cmd == L"editorclose" ||
      cmd == L"editorclear") {
    HWND editor = FindEditor(waitMs);
    if (!editor) {
      fputs("probe: editor not found\n", stderr);
      return 1;
    }
    HWND box = FindWindowExW(editor, nullptr, L"Edit", nullptr);
    if (cmd == L"editorclose") {
      PostMessageW(editor, WM_CLOSE, 0, 0);
    } else if (cmd == L"editorclear") {
      SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    } else if (cmd == L"editor") {
      Print(TextOf(box));
    } else if (cmd == L"editorrect") {
      RECT r;
      GetWindowRect(box, &r);
      PrintRect(r);
    } else {
      Print(std::to_wstring(reinterpret_cast<INT_PTR>(GetPropW(editor, L"HOTKEYS"))) + L"\n");
    }
    return 0;
  }
  HWND main = FindMain(waitMs, anyState);
  if (!main) {
    fputs("probe: main window not found\n", stderr);
    return 1;
  }
  auto argN = [&](int k) { return k < argc ? _wtoi(argv[k]) : 0; };

  if (cmd == L"find") {
    wchar_t buf[64];
    swprintf(buf, 64, L"%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(main)));
    Print(buf);
  } else if (cmd == L"title") {
    Print(TextOf(main) + L"\n");
  } else if (cmd == L"rect") {
    RECT r;
    GetWindowRect(main, &r);
    PrintRect(r);
  } else if (cmd == L"client") {
    RECT r;
    GetClientRect(main, &r);
    PrintRect(r);
  } else if (cmd == L"dpi") {
    HDC dc = GetDC(nullptr);
    wchar_t buf[32];
    swprintf(buf, 32, L"%d\n", GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);
    Print(buf);
  } else if (cmd == L"topmost") {
    Print((GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_TOPMOST) ? L"1\n" : L"0\n");
  } else if (cmd == L"state") {
    Print(IsIconic(main) ? L"minimized" : IsZoomed(main) ? L"maximized" : L"normal");
    Print(IsWindowVisible(main) ? L" visible\n" : L" hidden\n");
  } else if (cmd == L"minimize") {
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (cmd == L"picture") {
    wchar_t buf[64];
    swprintf(buf, 64, L"%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(PictureBoxOf(main))));
    Print(buf);
  } else if (cmd == L"trayicon" || cmd == L"traydelete") {
    NOTIFYICONDATAW d = TrayRecord(PictureBoxOf(main));
    BOOL ok = Shell_NotifyIconW(cmd == L"trayicon" ? NIM_MODIFY : NIM_DELETE, &d);
    Print(ok ? L"1\n" : L"0\n");
  } else if (cmd == L"close") {
    PostMessageW(main, WM_CLOSE, 0, 0);
  } else if (cmd == L"tip") {
    Print(VisibleTooltip(main));
  } else if (cmd == L"slot" || cmd == L"slotrect") {
    HWND e = SlotEdit(main, argN(i));
    if (!e) return 1;
    if (cmd == L"slot") {
      Print(TextOf(e));
    } else {
      RECT r;
      GetWindowRect(e, &r);
      PrintRect(r);
    }
  } else if (cmd == L"button") {
    bool clear = i + 1 < argc && std::wstring(argv[i + 1]) == L"clear";
    HWND b = SlotButton(main, argN(i), clear);
    if (!b) return 1;
    RECT r;
    GetWindowRect(b, &r);
    PrintRect(r);
  } else if (cmd == L"buttonskin") {
    // The skin's record of a button: state, level, fade timer, pointer flag.
    bool clear = i + 1 < argc && std::wstring(argv[i + 1]) == L"clear";
    HWND b = SlotButton(main, argN(i), clear);
    if (!b) return 1;
    wchar_t buf[128];
    swprintf(buf, 128, L"%lld %lld %lld %lld\n",
             static_cast<long long>(reinterpret_cast<INT_PTR>(GetPropW(b, L"OLDSTATE"))),
             static_cast<long long>(reinterpret_cast<INT_PTR>(GetPropW(b, L"ALPHALEVEL"))),
             static_cast<long long>(reinterpret_cast<INT_PTR>(GetPropW(b, L"TIMERID"))),
             static_cast<long long>(reinterpret_cast<INT_PTR>(GetPropW(b, L"MOUSEFLAG"))));
    Print(buf);
  } else if (cmd == L"controls") {
    EnumChildWindows(main, [](HWND h, LPARAM) -> BOOL {
      RECT r;
      GetWindowRect(h, &r);
      wchar_t buf[512];
      swprintf(buf, 512, L"%ls id=%d %ld %ld %ld %ld \"", ClassOf(h).c_str(), GetDlgCtrlID(h), r.left, r.top,
               r.right - r.left, r.bottom - r.top);
      Print(buf + TextOf(h) + L"\"\n");
      return TRUE;
    }, 0);
  } else {
    return Usage();
  }
  return 0;
}
