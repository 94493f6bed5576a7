#pragma once
// Shared by the benchmarks that drive the main window.
#include <windows.h>

#include <vector>

#include "app/frm_main.h"

namespace bench {

// Dispatches every message waiting for this thread.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The eighteen command buttons: assign and clear of each slot in turn.
inline std::vector<HWND> SlotButtons(app::FrmMain& main) {
  std::vector<HWND> buttons;
  for (int n = 1; n <= app::FrmMain::kSlotCount; ++n) {
    buttons.push_back(main.cmdGet(n).hwnd());
    buttons.push_back(main.cmdClear(n).hwnd());
  }
  return buttons;
}

}  // namespace bench
