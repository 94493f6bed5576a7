#pragma once
// The platform's default user-interface font, shared by all controls.
#include <windows.h>

namespace forms {

// The system's message-box font at the window's DPI; each size is
// created on first use and lives until exit.
HFONT DefaultUiFont();

}  // namespace forms
