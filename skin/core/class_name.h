#pragma once
#include <windows.h>

#include <string>

namespace skin {

// The window's class name as registered, or an empty string when the handle
// names no window. Names longer than 254 characters are cut there.
std::wstring GetWndClassName(HWND window) noexcept;

}  // namespace skin
