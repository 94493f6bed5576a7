#pragma once
// The slots' system-wide keys: Alt+1..9 store the clipboard's text into a
// slot, Ctrl+1..9 paste a slot into the active window. The keys are
// registered against the main window, whose procedure HotKeyWndProc is
// chained in front of, acting on WM_HOTKEY and passing every message on.
#include <windows.h>

#include <vector>

namespace app {

class FrmMain;

namespace mod_HotKey {

// The main window's procedure as found just before HotKeyWndProc went in.
extern WNDPROC OldWndProc;
// The window the keys are registered against.
extern HWND MainWindow;

// Stores the main window's current procedure in OldWndProc and installs
// HotKeyWndProc in front of it.
void InstallHotKeyWndProc(HWND mainWindow);
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

// Alt+digit: the slot becomes the clipboard's text (empty for no text), in
// turn with the other keys. A clipboard that stays busy, or whose owner does
// not hand its text over, leaves the slot as it was.
void StoreSlot(FrmMain& form, int slot);
// Ctrl+digit, in turn with the other keys: empty the clipboard, offer the
// slot's text on it, send Ctrl+V to the window active when the key was
// pressed, empty the clipboard once the text has been taken (or after a
// short time). A busy clipboard leaves everything as it was.
void RecallSlot(FrmMain& form, int slot);

LRESULT CALLBACK HotKeyWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mod_HotKey
}  // namespace app
