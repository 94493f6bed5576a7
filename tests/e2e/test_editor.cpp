// test_editor: the other programs on the desktop, for the end-to-end scripts.
//   test_editor [--hold-alt D] [--guest-edit 1]
//       a window titled "HotkeyTestEditor" whose one multi-line edit box takes
//       pastes; with --hold-alt it registers Alt+D before anything else, as
//       another program holding a key would ("HOTKEYS" counts its WM_HOTKEY).
//       With --guest-edit the edit box belongs to a second process
//       (test_editor guest HWND), inside a window of that process which is
//       the child of the editor's, as in a Store app's frame or a WebView2
//       host; that process gives the editor its title once the box is there.
//       The box pastes MS late once sent WM_APP + 7 with MS (probe editor late MS).
//   test_editor reader [--hold MS] [--late MS]
//       reads the clipboard's text on every clipboard update, as history
//       tools, dictionaries and clipboard bridges do: at once, or MS later,
//       keeping the clipboard open MS longer than the read needs.
//   test_editor owner TEXT
//       offers TEXT by delayed rendering and renders it when asked, once the
//       named event "ClipPeerRelease" is set (the unit tests' slow owner).
// The reader's and the owner's hidden window is titled "ClipPeer" and counts
// "UPDATES", "READS" and "ASKED" in window properties.
#include <windows.h>
#include <shellapi.h>

#include <process.h>

#include <cstring>
#include <string>

namespace {

WNDPROC editProc = nullptr;
DWORD pasteLateMs = 0, holdMs = 0, lateMs = 0;
HANDLE releaseEvent = nullptr;  // made before the offer, so that a release cannot come too early
std::wstring offerText;

void Count(HWND h, const wchar_t* name) {
  SetPropW(h, name, reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropW(h, name)) + 1));
}

void Read(HWND hwnd) {
  if (!OpenClipboard(hwnd)) return;
  if (GetClipboardData(CF_UNICODETEXT)) Count(hwnd, L"READS");
  Sleep(holdMs);  // some readers keep the clipboard open a while
  CloseClipboard();
}

// The editor's, the guest's pane's and the reader's or owner's window.
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:  // on to the edit box, or to the pane holding it
      if (HWND child = GetWindow(hwnd, GW_CHILD)) SetFocus(child);
      return 0;
    case WM_HOTKEY:
      return Count(hwnd, L"HOTKEYS"), 0;
    case WM_CLIPBOARDUPDATE:
      Count(hwnd, L"UPDATES");
      if (lateMs) SetTimer(hwnd, 1, lateMs, nullptr);
      else Read(hwnd);
      return 0;
    case WM_TIMER:
      return KillTimer(hwnd, 1), Read(hwnd), 0;
    case WM_RENDERFORMAT:  // the owner's text, once released
      if (wParam != CF_UNICODETEXT) return 0;
      Count(hwnd, L"ASKED");
      WaitForSingleObject(releaseEvent, 60000);
      if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (offerText.size() + 1) * sizeof(wchar_t))) {
        std::memcpy(GlobalLock(block), offerText.c_str(), (offerText.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
      }
      return 0;
    case WM_DESTROY:  // also the guest's pane, with the editor it sits in
      return PostQuitMessage(0), 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The edit box, pasting late when told to (a remote desktop, a busy program).
LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP + 7) return pasteLateMs = static_cast<DWORD>(wParam), 0;
  if (message == WM_PASTE && pasteLateMs) return SetTimer(hwnd, 7, pasteLateMs, nullptr), 0;
  if (message == WM_TIMER && wParam == 7) message = WM_PASTE, KillTimer(hwnd, 7);  // the edit box's own paste
  return CallWindowProcW(editProc, hwnd, message, wParam, lParam);
}

// Offers text by delayed rendering.
bool Offer(HWND hwnd) {
  for (int i = 0; !OpenClipboard(hwnd); ++i, Sleep(20)) if (i == 100) return false;
  return EmptyClipboard(), SetClipboardData(CF_UNICODETEXT, nullptr), CloseClipboard() != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring mode = argc > 1 ? argv[1] : L"", arg = argc > 2 ? argv[2] : L"";
  const bool reader = mode == L"reader", owner = mode == L"owner", guest = mode == L"guest", peer = reader || owner;
  bool guestEdit = false;
  int hold = -1;
  for (int i = reader ? 2 : owner || guest ? 3 : 1; i + 1 < argc; i += 2) {
    const std::wstring opt = argv[i], value = argv[i + 1];
    if (opt == L"--hold-alt") hold = _wtoi(value.c_str());
    else if (opt == L"--guest-edit") guestEdit = value == L"1";
    else if (opt == L"--hold") holdMs = static_cast<DWORD>(_wtoi(value.c_str()));
    else if (opt == L"--late") lateMs = static_cast<DWORD>(_wtoi(value.c_str()));
    else return 2;
  }
  LocalFree(argv);
  if (owner) offerText = arg, releaseEvent = CreateEventW(nullptr, TRUE, FALSE, L"ClipPeerRelease");
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  for (const wchar_t* name : {L"ClipPeerWindow", L"ClipGuestPane"}) wc.lpszClassName = name, RegisterClassW(&wc);
  // The guest's pane, in its own process, is a child of the editor's window
  // and takes the box's notifications.
  HWND parent = guest ? reinterpret_cast<HWND>(static_cast<UINT_PTR>(_wtoi64(arg.c_str()))) : nullptr;
  HWND hwnd = CreateWindowExW(WS_EX_NOPARENTNOTIFY, guest ? L"ClipGuestPane" : L"ClipPeerWindow", L"",
                              guest ? WS_CHILD | WS_VISIBLE : peer ? WS_OVERLAPPED : WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              guest ? 0 : 400, guest ? 0 : 200, 500, 300, parent, nullptr, instance, nullptr);
  if (!hwnd || (reader && !AddClipboardFormatListener(hwnd)) || (owner && !Offer(hwnd))) return 3;
  if (!peer && guestEdit) {  // the second process that makes the edit box inside this window
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring quoted = L"\"" + std::wstring(exe) + L"\"";
    const std::wstring host = std::to_wstring(reinterpret_cast<UINT_PTR>(hwnd));
    const intptr_t process = _wspawnl(_P_NOWAIT, exe, quoted.c_str(), L"guest", host.c_str(), nullptr);
    if (process == -1 || !CloseHandle(reinterpret_cast<HANDLE>(process))) return 3;
  } else if (!peer) {
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, L"Edit", L"",
                               WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0, 0, 480, 260, hwnd, nullptr,
                               instance, nullptr);
    if (!box) return 3;
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);  // long pastes arrive whole, as in any editor
    editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
    SetFocus(box);
  }
  if (hold >= 0 && !RegisterHotKey(hwnd, 1, MOD_ALT, static_cast<UINT>('0' + hold))) return 3;
  // Found by the scripts only now; with --guest-edit once the guest has made its box and names the editor.
  const wchar_t* title = peer ? L"ClipPeer" : L"HotkeyTestEditor";
  if (!guestEdit) SendMessageW(guest ? parent : hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
  for (MSG msg; GetMessageW(&msg, nullptr, 0, 0) > 0;) TranslateMessage(&msg), DispatchMessageW(&msg);
  return 0;
}
