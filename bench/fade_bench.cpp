// Prints the cost of one fade step of a command button and the processor
// time the main window uses while all eighteen of its buttons fade at once,
// beside the 15 ms a step may take and one BitBlt of the button's image onto
// its window (the floor of a step), and eighteen plain timers that do nothing
// or lay an image on a window of the button's size once per tick (the floors
// of eighteen fades).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "app/frm_main.h"
#include "bench/bench_window.h"
#include "skin/clsSkinner.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_state_surfaces.h"

namespace {

constexpr double kStepBudgetMicros = 15000.0;

// User plus kernel time of this process, in microseconds.
double ProcessCpuMicros() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto micros = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10.0;
  };
  return micros(kernel) + micros(user);
}

void StartFade(HWND button, skin::VisualState state) {
  skin::SetSkinProp(button, skin::prop::kOldState, static_cast<LONG_PTR>(state));
  skin::SetSkinProp(button, skin::prop::kAlphaLevel, 0);
  skin::StartFadeTimer(button);
}

bool AnyFading(const std::vector<HWND>& buttons) {
  for (HWND b : buttons) {
    if (skin::GetSkinProp(b, skin::prop::kTimerId) != 0) return true;
  }
  return false;
}

}  // namespace

int wmain() {
  app::FrmMain form;
  form.Move(0, 0, 3750, 4500);
  form.Show();
  bench::Pump();
  skin::clsSkinner skinner;
  skinner.AttachSkin(form.hwnd());
  bench::Pump();

  std::vector<HWND> buttons;
  for (int slot = 1; slot <= 9; ++slot) {
    buttons.push_back(form.cmdGet(slot).hwnd());
    buttons.push_back(form.cmdClear(slot).hwnd());
  }
  RECT r = {};
  GetWindowRect(buttons[0], &r);

  // One step: the WM_TIMER handler on a button, level kept mid-way.
  constexpr int kSteps = 5000;
  HWND button = buttons[0];
  skin::SetSkinProp(button, skin::prop::kOldState, static_cast<LONG_PTR>(skin::VisualState::Hot));
  std::chrono::steady_clock::duration total{};
  for (int i = 0; i < kSteps; ++i) {
    skin::SetSkinProp(button, skin::prop::kAlphaLevel, 120);
    const auto start = std::chrono::steady_clock::now();
    SendMessageW(button, WM_TIMER, skin::kFadeTimerId, 0);
    total += std::chrono::steady_clock::now() - start;
  }
  const double stepMicros = std::chrono::duration<double, std::micro>(total).count() / kSteps;
  std::printf("one fade step (%ldx%ld button)          %10.1f us   budget %8.0f us  (%.2f %%)\n",
              r.right - r.left, r.bottom - r.top, stepMicros, kStepBudgetMicros,
              100.0 * stepMicros / kStepBudgetMicros);
  // The parts a step may be made of, each on its own.
  HDC image = skin::ButtonStateSurface(button, static_cast<int>(skin::VisualState::Hot));
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  HDC other = CreateCompatibleDC(image);
  HBITMAP otherBitmap = CreateCompatibleBitmap(image, w, h);
  HGDIOBJ oldBitmap = SelectObject(other, otherBitmap);
  BLENDFUNCTION half = {AC_SRC_OVER, 0, 128, 0};
  auto perCall = [&](auto body) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kSteps; ++i) body();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
               .count() /
           kSteps;
  };
  auto onWindow = [&](auto draw) {
    return perCall([&] {
      HDC dc = GetWindowDC(button);
      draw(dc);
      ReleaseDC(button, dc);
    });
  };
  std::printf("floor: one BitBlt of the button (window DC) %7.1f us\n",
              onWindow([&](HDC dc) { BitBlt(dc, 0, 0, w, h, image, 0, 0, SRCCOPY); }));
  std::printf("  AlphaBlend onto the window DC            %7.1f us\n",
              onWindow([&](HDC dc) { AlphaBlend(dc, 0, 0, w, h, image, 0, 0, w, h, half); }));
  std::printf("  BitBlt from the window DC to memory      %7.1f us\n",
              onWindow([&](HDC dc) { BitBlt(other, 0, 0, w, h, dc, 0, 0, SRCCOPY); }));
  std::printf("  AlphaBlend in memory                     %7.1f us\n",
              perCall([&] { AlphaBlend(other, 0, 0, w, h, image, 0, 0, w, h, half); }));
  std::printf("  one window property read (GetPropW)     %7.1f us\n",
              perCall([&] { GetPropW(button, skin::prop::kAlphaLevel); }));
  SelectObject(other, oldBitmap);
  DeleteObject(otherBitmap);
  DeleteDC(other);
  std::printf("eighteen steps, one tick of every button %10.1f us   budget %8.0f us\n",
              18 * stepMicros, kStepBudgetMicros);

  // All eighteen buttons fade towards Hot from 0 (86 steps each) on their
  // timers; processor time against wall time.
  constexpr int kRounds = 5;
  double cpuTotal = 0;
  double wallTotal = 0;
  long ticks = 0;
  for (int round = 0; round < kRounds; ++round) {
    for (HWND b : buttons) StartFade(b, round % 2 ? skin::VisualState::Normal : skin::VisualState::Hot);
    const double cpuStart = ProcessCpuMicros();
    const auto wallStart = std::chrono::steady_clock::now();
    MSG msg;
    while (AnyFading(buttons)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER) ++ticks;
        DispatchMessageW(&msg);
      }
    }
    cpuTotal += ProcessCpuMicros() - cpuStart;
    wallTotal += std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() -
                                                           wallStart)
                     .count();
  }
  std::printf("18 buttons fading at once: %d fades of 86 steps, %ld ticks in %.2f s\n", kRounds,
              ticks, wallTotal / 1e6);
  std::printf("  processor time              %10.1f ms per second of fading (%.1f %%)\n",
              cpuTotal / wallTotal * 1000.0, 100.0 * cpuTotal / wallTotal);
  std::printf("  processor time per tick     %10.1f us   budget %8.0f us\n",
              ticks ? cpuTotal / ticks : 0.0, kStepBudgetMicros);

  // Floors, for as long as one round of fades took: eighteen plain windows
  // where the buttons are, each with a 15 ms timer; a tick does nothing, or
  // lays the button's hot image onto its window with one BitBlt.
  RECT formRect = {};
  GetWindowRect(form.hwnd(), &formRect);
  HWND host = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE,
                              formRect.left, formRect.top, formRect.right - formRect.left,
                              formRect.bottom - formRect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  std::vector<HWND> plain;
  for (HWND b : buttons) {
    RECT br = {};
    GetWindowRect(b, &br);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&br), 2);
    plain.push_back(CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, br.left, br.top,
                                    br.right - br.left, br.bottom - br.top, host, nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
  }
  bench::Pump();
  for (bool draw : {false, true}) {
    for (HWND p : plain) SetTimer(p, 1, 15, nullptr);
    const double plainCpuStart = ProcessCpuMicros();
    const auto plainStart = std::chrono::steady_clock::now();
    long plainTicks = 0;
    while (std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - plainStart)
               .count() < wallTotal / kRounds) {
      MSG msg;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER) {
          ++plainTicks;
          if (draw) {
            HDC dc = GetWindowDC(msg.hwnd);
            BitBlt(dc, 0, 0, w, h, image, 0, 0, SRCCOPY);
            ReleaseDC(msg.hwnd, dc);
          }
        }
        DispatchMessageW(&msg);
      }
    }
    const double plainCpu = ProcessCpuMicros() - plainCpuStart;
    const double plainWall = std::chrono::duration<double, std::micro>(
                                 std::chrono::steady_clock::now() - plainStart)
                                 .count();
    for (HWND p : plain) KillTimer(p, 1);
    std::printf("floor: 18 plain 15 ms timers, %s (%ld ticks)\n",
                draw ? "one BitBlt of the button per tick" : "nothing per tick", plainTicks);
    std::printf("  processor time              %10.1f ms per second (%.1f %%)\n",
                plainCpu / plainWall * 1000.0, 100.0 * plainCpu / plainWall);
  }
  DestroyWindow(host);

  skinner.DetachSkin(form.hwnd());
  form.Destroy();
  return 0;
}
