#pragma once
// The platform's default user-interface font, shared by all controls.
#include <windows.h>

namespace forms {

// Created on first use from the system's message-box font; lives until exit.
HFONT DefaultUiFont();

}  // namespace forms
