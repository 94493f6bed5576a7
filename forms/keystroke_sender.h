#pragma once
// Sends a Ctrl+key keystroke to the active window (SendInput), fitted to the
// modifiers the user is physically holding: the target sees exactly Ctrl and
// the key, and afterwards the keyboard state is again what the user holds.
#include <windows.h>

#include <vector>

namespace forms {

struct HeldModifiers {
  bool control = false;
  // Other modifier keys held down (Alt, Shift, Windows), by virtual key.
  std::vector<WORD> others;
};

// The modifiers down right now (GetAsyncKeyState).
HeldModifiers ReadHeldModifiers();

// The input events for Ctrl+key given what is held: the other modifiers are
// released first and pressed again last; Ctrl is pressed and released only
// when it is not already held (an injected Ctrl release would make the system
// forget the user's own Ctrl).
std::vector<INPUT> CtrlKeyInputs(WORD virtualKey, const HeldModifiers& held);

// Sends Ctrl+key without waiting for it to be processed. Returns the number
// of events the system accepted.
UINT SendCtrlKey(WORD virtualKey);

// A virtual key no keyboard has and no program acts on.
constexpr WORD kMaskKey = 0xE8;

// While Alt is held, presses and releases kMaskKey, so that the active window
// does not take the coming Alt release for a lone Alt and enter menu mode.
// Returns the number of events the system accepted (0 when Alt is not down).
UINT MaskAltRelease();

}  // namespace forms
