#pragma once
// The nine slot texts, as the slot store reads and writes them.
#include <array>
#include <string>

namespace app {

constexpr int kSlotCount = 9;

// Slot n (1 to 9) is element n - 1.
using SlotTexts = std::array<std::wstring, kSlotCount>;

}  // namespace app
