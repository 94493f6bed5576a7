#include "app/mod_hot_key.h"

#include "app/hot_key_id.h"
#include "forms/event_guard.h"

namespace app {
namespace mod_HotKey {

WNDPROC OldWndProc = nullptr;
HWND MainWindow = nullptr;
BOOL(WINAPI* RegisterKey)(HWND window, int id, UINT modifiers, UINT virtualKey) = &RegisterHotKey;

namespace {
HotKeyAction keyAction;
}  // namespace

void InstallHotKeyWndProc(HWND mainWindow, HotKeyAction action) {
  MainWindow = mainWindow;
  keyAction = std::move(action);
  OldWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mainWindow, GWLP_WNDPROC));
  SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HotKeyWndProc));
}

void RemoveHotKeyWndProc(HWND mainWindow) {
  if (OldWndProc && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mainWindow, GWLP_WNDPROC)) == &HotKeyWndProc)
    SetWindowLongPtrW(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldWndProc));
}

bool AddSlotHotKey(int group, int virtualKey) {
  return RegisterKey(MainWindow, HotKeyId(group, virtualKey), static_cast<UINT>(group) | MOD_NOREPEAT,
                     static_cast<UINT>(virtualKey)) != FALSE;
}

bool RemoveSlotHotKey(int group, int virtualKey) {
  return UnregisterHotKey(MainWindow, HotKeyId(group, virtualKey)) != FALSE;
}

std::vector<int> RegisterSlotHotKeys() {
  std::vector<int> refused;
  for (int n = 1; n <= kKeyCount; ++n) {
    if (!AddSlotHotKey(kStoreGroup, SlotKey(n))) refused.push_back(HotKeyId(kStoreGroup, SlotKey(n)));
    if (!AddSlotHotKey(kRecallGroup, SlotKey(n))) refused.push_back(HotKeyId(kRecallGroup, SlotKey(n)));
  }
  return refused;
}

void UnregisterSlotHotKeys() {
  for (int n = 1; n <= kKeyCount; ++n) {
    RemoveSlotHotKey(kStoreGroup, SlotKey(n));
    RemoveSlotHotKey(kRecallGroup, SlotKey(n));
  }
}

namespace {

void OnHotKey(WPARAM wParam) {
  int64_t id = static_cast<INT_PTR>(wParam);
  int64_t slot = HotKeySlot(id);
  // Anyone can post WM_HOTKEY: only our own ids act.
  if (slot < 1 || slot > kKeyCount) return;
  const int64_t group = HotKeyGroup(id);
  if (keyAction && (group == kStoreGroup || group == kRecallGroup))
    keyAction(static_cast<int>(group), static_cast<int>(slot));
}

}  // namespace

LRESULT CALLBACK HotKeyWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY) forms::RunGuarded([&] { OnHotKey(wParam); });
  WNDPROC next = OldWndProc ? OldWndProc : &DefWindowProcW;
  return CallWindowProcW(next, hwnd, message, wParam, lParam);
}

}  // namespace mod_HotKey
}  // namespace app
