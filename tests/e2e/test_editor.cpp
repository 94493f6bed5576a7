// test_editor: the other programs on the desktop, for the end-to-end scripts.
//   test_editor [--hold-alt D]
//       a window titled "HotkeyTestEditor" whose one multi-line edit box takes
//       pastes; with --hold-alt it registers Alt+D before anything else, as
//       another program holding a key would ("HOTKEYS" counts its WM_HOTKEY).
//   test_editor reader [--hold MS] [--late MS]
//       reads the clipboard's text on every clipboard update, as history
//       tools, dictionaries and clipboard bridges do: at once, or MS later,
//       keeping the clipboard open MS longer than the read needs.
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

HWND edit = nullptr;
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
  int hold = -1, i = reader ? 2 : owner ? 3 : 1;
  if (owner) offerText = argv[2];
  for (; i + 1 < argc; i += 2) {
    const std::wstring opt = argv[i], value = argv[i + 1];
    if (opt == L"--hold-alt") hold = _wtoi(value.c_str());
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
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0, 0,
                           480, 260, hwnd, nullptr, instance, nullptr);
    if (edit) SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // long pastes arrive whole, as in any editor
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
