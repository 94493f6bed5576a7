#pragma once
// Runs the calling thread's messages until a condition holds or a time cap
// passes; returns the condition's last value.
#include <windows.h>

#include <functional>

inline bool PumpUntil(const std::function<bool()>& done, DWORD capMs = 5000) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start >= capMs) return done();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}
