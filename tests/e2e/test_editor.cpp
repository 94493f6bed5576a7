// test_editor: the other programs on the desktop, for the end-to-end scripts.
//   test_editor [--hold-alt D] [--guest-edit 1]
//       a window titled "HotkeyTestEditor" whose one multi-line edit box takes
//       pastes; with --hold-alt it registers Alt+D before anything else, as
//       another program holding a key would ("HOTKEYS" counts its WM_HOTKEY).
//       With --guest-edit the edit box belongs to a second process
//       (test_editor guest HWND), inside a window of that process which is
//       the child of the editor's, as in a Store app's frame or a WebView2
//       host. The box pastes MS late once sent kPasteLate with MS.
//   test_editor reader [--hold MS] [--late MS]
//       reads the clipboard's text on every clipboard update, as history
//       tools, dictionaries and clipboard bridges do: at once, or MS later,
//       keeping the clipboard open MS longer than the read needs.
//   test_editor lock FILE
//       holds another program's write lock on a database file (the byte
//       SQLite takes before it writes) until it is ended, with no window (a
//       session's end does not reach it); FILE-held appears once it holds it.
//   test_editor owner TEXT [--render-after MS|release|never]
//       offers TEXT by delayed rendering and renders it when asked: MS later
//       (a program rendering a large selection), once the named event
//       "ClipPeerRelease" is set (probe peer release), or never (a hung one).
// The reader's and the owner's hidden window is titled "ClipPeer" and counts
// "UPDATES", "READS", "ASKED" and "RENDERS" in window properties.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

namespace {

constexpr UINT kPasteLate = WM_APP + 7;
HWND edit = nullptr;
WNDPROC editProc = nullptr;
DWORD pasteLateMs = 0;
DWORD holdMs = 0, lateMs = 0, renderAfterMs = 0;
bool renderNever = false;
HANDLE releaseEvent = nullptr;  // made before the offer, so that a release cannot come too early
std::wstring offerText;

void Count(HWND hwnd, const wchar_t* name) {
  SetPropW(hwnd, name, reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, name)) + 1));
}

void Read(HWND hwnd) {
  if (!OpenClipboard(hwnd)) return;
  if (GetClipboardData(CF_UNICODETEXT)) Count(hwnd, L"READS");
  if (holdMs) Sleep(holdMs);  // some readers keep the clipboard open a while
  CloseClipboard();
}

void Render() {
  if (renderNever) Sleep(INFINITE);
  if (releaseEvent) WaitForSingleObject(releaseEvent, 60000);
  if (renderAfterMs) Sleep(renderAfterMs);
  const size_t bytes = (offerText.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) return;
  std::memcpy(GlobalLock(block), offerText.c_str(), bytes);
  GlobalUnlock(block);
  if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      if (edit) SetFocus(edit);
      return 0;
    case WM_HOTKEY:
      Count(hwnd, L"HOTKEYS");
      return 0;
    case WM_CLIPBOARDUPDATE:
      Count(hwnd, L"UPDATES");
      if (lateMs) SetTimer(hwnd, 1, lateMs, nullptr);
      else Read(hwnd);
      return 0;
    case WM_TIMER:
      KillTimer(hwnd, 1);
      Read(hwnd);
      return 0;
    case WM_RENDERFORMAT:
      if (wParam == CF_UNICODETEXT) Count(hwnd, L"ASKED"), Render(), Count(hwnd, L"RENDERS");
      return 0;
    case WM_RENDERALLFORMATS:
    case WM_DESTROYCLIPBOARD:
      return 0;
    case WM_DESTROY:
      for (const wchar_t* name : {L"HOTKEYS", L"UPDATES", L"READS", L"ASKED", L"RENDERS"}) RemovePropW(hwnd, name);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The edit box, pasting late when told to (a remote desktop, a busy program).
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static bool late = false;
  switch (message) {
    case kPasteLate:
      pasteLateMs = static_cast<DWORD>(wParam);
      return 0;
    case WM_PASTE:
      if (!pasteLateMs || late) break;
      SetTimer(hwnd, 7, pasteLateMs, nullptr);
      return 0;
    case WM_TIMER:
      if (wParam != 7) break;
      KillTimer(hwnd, 7);
      late = true;
      CallWindowProcW(editProc, hwnd, WM_PASTE, 0, 0);
      late = false;
      return 0;
    case WM_DESTROY:
      if (GetWindowThreadProcessId(GetAncestor(hwnd, GA_ROOT), nullptr) != GetCurrentThreadId()) PostQuitMessage(0);
      break;
    default:
      break;
  }
  return CallWindowProcW(editProc, hwnd, message, wParam, lParam);
}

HWND MakeEdit(HWND parent, HINSTANCE instance) {
  HWND box = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0, 0,
                             480, 260, parent, nullptr, instance, nullptr);
  if (!box) return nullptr;
  SendMessageW(box, EM_SETLIMITTEXT, 0, 0);  // long pastes arrive whole, as in any editor
  editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  return box;
}

HWND FindEdit(HWND window) {
  HWND pane = FindWindowExW(window, nullptr, L"ClipGuestPane", nullptr);
  return FindWindowExW(pane ? pane : window, nullptr, L"Edit", nullptr);
}

// The edit box made by a second process inside this window.
HWND GuestEdit(HWND hwnd) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(exe) + L"\" guest " + std::to_wstring(reinterpret_cast<UINT_PTR>(hwnd));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(exe, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
  CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
  HWND box = nullptr;
  // Messages the guest sends this window while it makes the box are answered meanwhile.
  for (int i = 0; i < 1000 && !(box = FindEdit(hwnd)); ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
  }
  return box;
}

bool Offer(HWND hwnd) {
  for (int i = 0; !OpenClipboard(hwnd); ++i, Sleep(20)) {
    if (i == 100) return false;
  }
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, nullptr);
  return CloseClipboard() != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  const bool reader = mode == L"reader", owner = mode == L"owner" && argc > 2;
  if (mode == L"lock" && argc > 2) {
    HANDLE file = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE || !LockFile(file, 0x40000001, 0, 1, 0)) return 3;
    CloseHandle(CreateFileW((std::wstring(argv[2]) + L"-held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Sleep(INFINITE);
  }
  if (mode == L"guest" && argc > 2) {
    // The edit box of a window of another process.
    HWND host = reinterpret_cast<HWND>(static_cast<UINT_PTR>(_wtoi64(argv[2])));
    WNDCLASSW pane{};
    pane.lpfnWndProc = DefWindowProcW;
    pane.hInstance = instance;
    pane.lpszClassName = L"ClipGuestPane";
    RegisterClassW(&pane);
    // The box's notifications go to the pane, in this process.
    HWND inside = IsWindow(host) ? CreateWindowExW(WS_EX_NOPARENTNOTIFY, pane.lpszClassName, L"", WS_CHILD | WS_VISIBLE,
                                                   0, 0, 480, 260, host, nullptr, instance, nullptr)
                                 : nullptr;
    if (!inside || !(edit = MakeEdit(inside, instance))) return 3;
    SetFocus(edit);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) TranslateMessage(&msg), DispatchMessageW(&msg);
    return 0;
  }
  bool guestEdit = false;
  int hold = -1, i = reader ? 2 : owner ? 3 : 1;
  if (owner) offerText = argv[2];
  for (; i + 1 < argc; i += 2) {
    const std::wstring opt = argv[i], value = argv[i + 1];
    if (opt == L"--hold-alt") hold = _wtoi(value.c_str());
    else if (opt == L"--guest-edit") guestEdit = value == L"1";
    else if (opt == L"--hold") holdMs = static_cast<DWORD>(_wtoi(value.c_str()));
    else if (opt == L"--late") lateMs = static_cast<DWORD>(_wtoi(value.c_str()));
    else if (opt == L"--render-after" && value == L"never") renderNever = true;
    else if (opt == L"--render-after" && value == L"release")
      releaseEvent = CreateEventW(nullptr, TRUE, FALSE, L"ClipPeerRelease");
    else if (opt == L"--render-after") renderAfterMs = static_cast<DWORD>(_wtoi(value.c_str()));
    else return 2;
  }
  LocalFree(argv);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"ClipPeerWindow";
  RegisterClassW(&wc);
  const bool peer = reader || owner;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", peer ? WS_OVERLAPPED : WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              400, 200, 500, 300, nullptr, nullptr, instance, nullptr);
  if (!hwnd || (reader && !AddClipboardFormatListener(hwnd)) || (owner && !Offer(hwnd))) return 3;
  if (!peer) {
    edit = guestEdit ? GuestEdit(hwnd) : MakeEdit(hwnd, instance);
    if (!edit || (hold >= 0 && !RegisterHotKey(hwnd, 1, MOD_ALT, static_cast<UINT>('0' + hold)))) return 3;
    SetFocus(edit);
  }
  SetWindowTextW(hwnd, peer ? L"ClipPeer" : L"HotkeyTestEditor");  // found by the scripts only now
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
