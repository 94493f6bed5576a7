#pragma once
// The application's message loop, with Tab and Shift+Tab moving the focus
// between a form's controls in tab-index order.
#include <windows.h>

namespace forms {

// Handles a Tab key press for a form's control; true when it was used.
bool HandleTabKey(const MSG& msg);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace forms
