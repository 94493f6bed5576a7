// clip_peer: another program on the desktop that uses the clipboard, for the
// end-to-end scripts. Its hidden window is titled "ClipPeer" and counts in
// window properties.
//   clip_peer reader [--hold MS] [--late MS]
//       reads the clipboard's text on every clipboard update, as history tools,
//       dictionaries and clipboard bridges do: at once, or MS later (--late),
//       keeping the clipboard open MS longer than the read needs (--hold).
//       "UPDATES" counts the updates seen, "READS" the texts read.
//   clip_peer owner TEXT [--render-after MS|release|never]
//       offers TEXT by delayed rendering and renders it when asked: MS later
//       (a program rendering a large selection), once the named event
//       "ClipPeerRelease" is set (probe peer release), or never (a hung
//       program). "ASKED" counts the requests, "RENDERS" those answered.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

enum class Mode { Reader, Owner };

Mode mode = Mode::Reader;
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
      for (const wchar_t* name : {L"UPDATES", L"READS", L"ASKED", L"RENDERS"}) RemovePropW(hwnd, name);
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
  int i = 1;
  if (argc > 1 && std::wcscmp(argv[1], L"owner") == 0 && argc > 2) {
    mode = Mode::Owner;
    offerText = argv[2];
    i = 3;
  } else if (argc > 1 && std::wcscmp(argv[1], L"reader") == 0) {
    i = 2;
  } else {
    return 2;
  }
  for (; i + 1 < argc; i += 2) {
    const std::wstring opt = argv[i], value = argv[i + 1];
    if (opt == L"--hold") holdMs = static_cast<DWORD>(_wtoi(value.c_str()));
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
  wc.lpszClassName = L"ClipPeerWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              instance, nullptr);
  if (!hwnd) return 3;
  if (mode == Mode::Reader && !AddClipboardFormatListener(hwnd)) return 3;
  if (mode == Mode::Owner && !Offer(hwnd)) return 3;
  SetWindowTextW(hwnd, L"ClipPeer");  // found by the scripts only now
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
