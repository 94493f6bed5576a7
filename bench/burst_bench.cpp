// What one quick pass of the pointer over a button costs the main window's
// thread: enter, press, release (a click) and leave, sent to each of the
// eighteen buttons in turn. Printed with the skin on and, as the floor, with
// it off; then the share of the skin's own handlers, measured without the
// click (the pointer released outside), and one fade tick.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "app/frm_main.h"
#include "bench/bench_window.h"
#include "skin/clsSkinner.h"

namespace {

// Microseconds per pass, averaged over `rounds` rounds of the eighteen buttons.
template <typename Pass>
double PerPass(const std::vector<HWND>& buttons, int rounds, Pass pass) {
  const auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < rounds; ++r) {
    for (HWND b : buttons) pass(b);
    bench::Pump();
  }
  const auto total = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::micro>(total).count() / (rounds * buttons.size());
}

}  // namespace

int wmain() {
  app::FrmMain main;
  main.Move(0, 0, 3750, 4500);
  main.Show();
  bench::Pump();
  const std::vector<HWND> buttons = bench::SlotButtons(main);
  const LPARAM inside = MAKELPARAM(5, 5);
  auto pointAt = [](HWND b) {  // the skin starts a hover only under the pointer
    RECT r = {};
    GetWindowRect(b, &r);
    SetCursorPos(r.left + 5, r.top + 5);
  };
  auto click = [&](HWND b) {
    pointAt(b);
    SendMessageW(b, WM_MOUSEMOVE, 0, inside);
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageW(b, WM_LBUTTONUP, 0, inside);
    SendMessageW(b, WM_MOUSELEAVE, 0, 0);
  };
  auto noClick = [&](HWND b) {
    pointAt(b);
    SendMessageW(b, WM_MOUSEMOVE, 0, inside);
    SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ReleaseCapture();
    SendMessageW(b, WM_LBUTTONUP, 0, inside);
    SendMessageW(b, WM_MOUSELEAVE, 0, 0);
  };
  constexpr int kRounds = 40;
  skin::clsSkinner skinner;
  const double bareClick = PerPass(buttons, kRounds, click);
  const double bareNoClick = PerPass(buttons, kRounds, noClick);
  skinner.AttachSkin(main.hwnd());
  bench::Pump();
  const double skinClick = PerPass(buttons, kRounds, click);
  const double skinNoClick = PerPass(buttons, kRounds, noClick);
  const double tick = PerPass(buttons, kRounds, [](HWND b) { SendMessageW(b, WM_TIMER, 1, 0); });
  std::printf("%-58s %10.1f us  (floor, no skin: %.1f us)\n", "enter, press, release (click), leave", skinClick,
              bareClick);
  std::printf("%-58s %10.1f us  (floor, no skin: %.1f us)\n", "enter, press, release outside, leave", skinNoClick,
              bareNoClick);
  std::printf("%-58s %10.1f us\n", "one fade tick (WM_TIMER)", tick);
  const struct { const char* name; UINT message; WPARAM wParam; } parts[] = {
      {"enter (WM_MOUSEMOVE)", WM_MOUSEMOVE, 0}, {"press (WM_LBUTTONDOWN)", WM_LBUTTONDOWN, MK_LBUTTON},
      {"release (WM_LBUTTONUP, no capture)", WM_LBUTTONUP, 0}, {"leave (WM_MOUSELEAVE)", WM_MOUSELEAVE, 0},
      {"focus gained (WM_SETFOCUS)", WM_SETFOCUS, 0}, {"focus lost (WM_KILLFOCUS)", WM_KILLFOCUS, 0}};
  for (const auto& part : parts) {
    std::printf("%-58s %10.1f us\n", part.name, PerPass(buttons, kRounds, [&](HWND b) {
                  pointAt(b);
                  SendMessageW(b, part.message, part.wParam, inside);
                  ReleaseCapture();
                  if (part.message == WM_MOUSEMOVE) SendMessageW(b, WM_MOUSELEAVE, 0, 0);
                }));
  }
  std::printf("a burst of 720 passes: %.0f ms with the skin, %.0f ms without\n", skinClick * 720 / 1000,
              bareClick * 720 / 1000);
  skinner.DetachSkin(main.hwnd());
  main.Destroy();
  return 0;
}
