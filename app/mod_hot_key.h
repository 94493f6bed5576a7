#pragma once
// The slots' system-wide keys: Alt+1..9 store the clipboard's text into a
// slot, Ctrl+1..9 paste a slot into the active window. The keys are
// registered against the main window, whose procedure HotKeyWndProc is
// chained in front of, acting on WM_HOTKEY and passing every message on.
#include <windows.h>

#include <functional>
#include <vector>

namespace app {
namespace mod_HotKey {

constexpr int kKeyCount = 9;

// What a slot's key does: group kStoreGroup (Alt) or kRecallGroup (Ctrl),
// slot 1 to 9. The window supplies it.
using HotKeyAction = std::function<void(int group, int slot)>;

// The main window's procedure as found just before HotKeyWndProc went in.
extern WNDPROC OldWndProc;
// The window the keys are registered against.
extern HWND MainWindow;

// Stores the main window's current procedure in OldWndProc and installs
// HotKeyWndProc in front of it; the keys' messages go to action.
void InstallHotKeyWndProc(HWND mainWindow, HotKeyAction action);
// Puts OldWndProc back while HotKeyWndProc is the window's procedure.
void RemoveHotKeyWndProc(HWND mainWindow);

// RegisterHotKey(MainWindow, group*100 + key, group | MOD_NOREPEAT, key);
// true when the system accepted it (false when another program holds the
// key). Without MOD_NOREPEAT every keyboard auto-repeat of a held key would
// be one more hotkey message: one press, one action.
bool AddSlotHotKey(int group, int virtualKey);
bool RemoveSlotHotKey(int group, int virtualKey);

// Alt+1, Ctrl+1, Alt+2, Ctrl+2 ... Alt+9, Ctrl+9. A refused key is left out;
// returns the ids of those, in that order.
std::vector<int> RegisterSlotHotKeys();
// The system's RegisterHotKey (replaceable for tests).
extern BOOL(WINAPI* RegisterKey)(HWND window, int id, UINT modifiers, UINT virtualKey);
void UnregisterSlotHotKeys();

LRESULT CALLBACK HotKeyWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mod_HotKey
}  // namespace app
