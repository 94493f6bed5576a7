// test_editor: a window titled "HotkeyTestEditor" whose one multi-line edit
// box takes pastes, for the end-to-end scripts.
//   --hold-alt D   registers Alt+D for the editor before anything else, as
//                  another program holding a key would; each WM_HOTKEY raises
//                  the window property "HOTKEYS" by one.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

HWND edit = nullptr;

void Count(HWND hwnd, const wchar_t* name) {
  SetPropW(hwnd, name, reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropW(hwnd, name)) + 1));
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      SetFocus(edit);
      return 0;
    case WM_HOTKEY:
      Count(hwnd, L"HOTKEYS");
      return 0;
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
  const int hold = argc >= 3 && std::wcscmp(argv[1], L"--hold-alt") == 0 ? _wtoi(argv[2]) : -1;
  LocalFree(argv);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"HotkeyTestEditorWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              400, 200, 500, 300, nullptr, nullptr, instance, nullptr);
  edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0, 0,
                         480, 260, hwnd, nullptr, instance, nullptr);
  if (edit) SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // long pastes arrive whole, as in any editor
  if (!edit || (hold >= 0 && !RegisterHotKey(hwnd, 1, MOD_ALT, static_cast<UINT>('0' + hold)))) return 3;
  SetWindowTextW(hwnd, L"HotkeyTestEditor");  // found by the scripts only now
  SetFocus(edit);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
