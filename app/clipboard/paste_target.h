#pragma once
// The window a paste goes to, as the clipboard sees it: the processes that
// may read the text for it, and whether this program's keystrokes reach it.
//
// A window may hold windows of other processes: a Store app's frame holds
// the app's own window, a WebView2 program holds its browser process's
// window, and the process that reads the clipboard for the paste is then not
// the top-level window's.
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

namespace app {

using ProcessOfWindow = std::function<DWORD(HWND)>;

// The process of a window (0 for none).
DWORD ProcessOf(HWND window);

// The processes of the window and of every window inside it, each once, the
// window's own first.
std::vector<DWORD> TargetProcesses(HWND window, const ProcessOfWindow& processOf = &ProcessOf);

enum class TargetAccess {
  Reachable,  // keystrokes arrive
  Elevated,   // the system drops them (a program run as administrator)
};

// Windows drops injected input into a process of a higher integrity level
// without an error. A process this one may not even query counts as higher;
// when this process's own level is unknown, nothing is assumed.
TargetAccess AccessFor(std::optional<DWORD> targetLevel, std::optional<DWORD> ownLevel);

// The integrity level (the mandatory label's RID) of a process; nullopt
// when it cannot be queried.
std::optional<DWORD> IntegrityLevelOf(HANDLE process);

// AccessFor the window's process against this one.
TargetAccess AccessOf(HWND window);

}  // namespace app
