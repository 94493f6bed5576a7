#pragma once
#include <windows.h>

namespace skin {

// Puts the skin on one window: the preparation its kind needs, SkinWndProc
// installed with the previous procedure kept in "PROCADDR", the frame and the
// client repainted. A form's descendants are skinned first. 1 when skinned
// by this call; 0 for handle 0, a window already skinned, a window that
// belongs to another thread (its procedure cannot be replaced from here), or
// one whose procedure could not be replaced (its preparation undone, the
// count untouched).
int SkinWindow(HWND window) noexcept;

// How UnskinWindow treats a procedure installed over the skin's: Always
// puts back the procedure found at attach, dropping the later one with the
// skin; IfOnTop does so only while SkinWndProc is the window's procedure and
// otherwise leaves the later one in place, SkinWndProc passing through.
enum class Restore { IfOnTop, Always };

// The exact reverse: a form's descendants first (IfOnTop), then the window's
// own preparation undone, its properties removed and its procedure restored
// as `restore` says. The last window released frees the skin images and
// ends the engine. 1 when unskinned by this call; 0 for handle 0, a window
// not skinned or one of another thread.
int UnskinWindow(HWND window, Restore restore = Restore::IfOnTop) noexcept;

// EnumChildWindows callbacks; always continue.
BOOL CALLBACK SkinChildProc(HWND window, LPARAM unused) noexcept;
BOOL CALLBACK UnskinChildProc(HWND window, LPARAM unused) noexcept;

}  // namespace skin
