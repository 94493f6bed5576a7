#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, CreatesWindow) {
  HWND h = CreateWindowExW(0, L"STATIC", L"朔禾", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  wchar_t buf[16]{};
  GetWindowTextW(h, buf, 16);
  EXPECT_STREQ(buf, L"朔禾");
  DestroyWindow(h);
}
