// test_editor: a small editor window for the end-to-end scripts, titled
// "HotkeyTestEditor", whose one multi-line edit box takes pastes.
//   --hold-alt D   registers Alt+D against the editor before anything else,
//                  as another program holding a key would; each WM_HOTKEY it
//                  receives raises the window property "HOTKEYS" by one.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

const wchar_t kClass[] = L"HotkeyTestEditorWindow";
const wchar_t kTitle[] = L"HotkeyTestEditor";
HWND edit = nullptr;

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"",
                             WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0,
                             100, 100, hwnd, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr),
                             nullptr);
      return 0;
    case WM_SIZE:
      MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(edit);
      return 0;
    case WM_HOTKEY: {
      auto count = reinterpret_cast<INT_PTR>(GetPropW(hwnd, L"HOTKEYS"));
      SetPropW(hwnd, L"HOTKEYS", reinterpret_cast<HANDLE>(count + 1));
      return 0;
    }
    case WM_DESTROY:
      RemovePropW(hwnd, L"HOTKEYS");
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  int holdDigit = -1;
  for (int i = 1; argv && i + 1 < argc; ++i) {
    if (std::wcscmp(argv[i], L"--hold-alt") == 0) holdDigit = _wtoi(argv[i + 1]);
  }
  if (argv) LocalFree(argv);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);
  HWND hwnd = CreateWindowExW(0, kClass, kTitle, WS_OVERLAPPEDWINDOW, 400, 200, 500, 300, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  if (holdDigit >= 0 && !RegisterHotKey(hwnd, 1, MOD_ALT, static_cast<UINT>('0' + holdDigit))) return 3;
  ShowWindow(hwnd, SW_SHOW);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
