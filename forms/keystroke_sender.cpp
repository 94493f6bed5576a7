#include "forms/keystroke_sender.h"

namespace forms {
namespace {

bool IsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

bool IsExtendedKey(WORD virtualKey) {
  switch (virtualKey) {
    case VK_RCONTROL:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
      return true;
    default:
      return false;
  }
}

INPUT KeyEvent(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

}  // namespace

HeldModifiers ReadHeldModifiers() {
  HeldModifiers held;
  held.control = IsDown(VK_CONTROL);
  // Each side on its own, so that the same key is pressed again; the generic
  // key when the system does not tell the sides apart.
  const WORD pairs[][3] = {{VK_MENU, VK_LMENU, VK_RMENU}, {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}};
  for (const auto& pair : pairs) {
    bool left = IsDown(pair[1]), right = IsDown(pair[2]);
    if (left) held.others.push_back(pair[1]);
    if (right) held.others.push_back(pair[2]);
    if (!left && !right && IsDown(pair[0])) held.others.push_back(pair[0]);
  }
  if (IsDown(VK_LWIN)) held.others.push_back(VK_LWIN);
  if (IsDown(VK_RWIN)) held.others.push_back(VK_RWIN);
  return held;
}

std::vector<INPUT> CtrlKeyInputs(WORD virtualKey, const HeldModifiers& held) {
  std::vector<INPUT> inputs;
  for (WORD key : held.others) inputs.push_back(KeyEvent(key, true));
  if (!held.control) inputs.push_back(KeyEvent(VK_CONTROL, false));
  inputs.push_back(KeyEvent(virtualKey, false));
  inputs.push_back(KeyEvent(virtualKey, true));
  if (!held.control) inputs.push_back(KeyEvent(VK_CONTROL, true));
  for (auto it = held.others.rbegin(); it != held.others.rend(); ++it)
    inputs.push_back(KeyEvent(*it, false));
  return inputs;
}

UINT SendCtrlKey(WORD virtualKey) {
  std::vector<INPUT> inputs = CtrlKeyInputs(virtualKey, ReadHeldModifiers());
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

UINT MaskAltRelease() {
  if (!IsDown(VK_MENU)) return 0;
  INPUT inputs[] = {KeyEvent(kMaskKey, false), KeyEvent(kMaskKey, true)};
  return SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace forms
