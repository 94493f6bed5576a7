#pragma once
#include <windows.h>

namespace skin {

// Whether the module exports the function. A module not yet loaded is loaded
// for the question and freed again; one already loaded is left alone.
bool HasUser32TrackMouseEvent(const char* functionName, const wchar_t* moduleName) noexcept;

}  // namespace skin
