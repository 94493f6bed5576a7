// Test helper: saves the nine slots of <folder>\data.mdb over and over, each
// round with new large texts, until it is killed. After the first round it
// creates <folder>\saving so the test knows writes are under way.
#include <windows.h>

#include <string>

#include "app/slot_store.h"
#include "forms/runtime_error.h"

// Slot n in round r: a marker, then a fill whose length depends on n only.
std::wstring RoundText(int round, int slot) {
  const wchar_t fill = static_cast<wchar_t>(L'a' + round % 26);
  return L"round " + std::to_wstring(round) + L"|" + std::wstring(150000 + slot * 1000, fill);
}

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const std::wstring folder = argv[1];
  try {
    for (int round = 0;; ++round) {
      app::SlotTexts slots;
      for (int n = 1; n <= app::kSlotCount; ++n) slots[n - 1] = RoundText(round, n);
      app::SaveSlots(folder, slots);
      if (round == 0) {
        HANDLE marker = CreateFileW((folder + L"\\saving").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
      }
    }
  } catch (const forms::RuntimeError& error) {
    return static_cast<int>(error.number());
  }
}
