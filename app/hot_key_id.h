#pragma once
// Hotkey identifiers: modifier group times 100 plus the virtual key. The
// group is the modifier flag itself (1 Alt: store, 2 Ctrl: recall); the key
// of slot n is the character code of its digit ('1' = 49 .. '9' = 57).
#include <cstdint>

namespace app {

constexpr int kStoreGroup = 1;   // MOD_ALT
constexpr int kRecallGroup = 2;  // MOD_CONTROL

constexpr int SlotKey(int slot) { return '0' + slot; }
constexpr int HotKeyId(int group, int virtualKey) { return group * 100 + virtualKey; }

// The largest integer not above id / 100 (the system's own ids -1 and -2
// give -1).
constexpr int64_t HotKeyGroup(int64_t id) {
  return id / 100 - ((id % 100 != 0 && id < 0) ? 1 : 0);
}

// The slot an id stands for within its group; may lie outside 1..9 for ids
// that are not ours.
constexpr int64_t HotKeySlot(int64_t id) { return id - HotKeyGroup(id) * 100 - '0'; }

}  // namespace app
