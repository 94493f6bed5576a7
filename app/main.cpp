#include <windows.h>
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"朔禾剪贴板 V1.3", L"朔禾剪贴板 V1.3", MB_OK);
  return 0;
}
