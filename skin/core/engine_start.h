#pragma once
#include <windows.h>

namespace skin {

// Starts the engine once (probe for user32's TrackMouseEvent, build the skin
// images), also for handle 0, then skins the window: SkinWindow's result.
int StartSkin(HWND window) noexcept;

// UnskinWindow's result, the procedure found at attach put back whatever
// sits on top; the last window released also ends the engine.
int StopSkin(HWND window) noexcept;

}  // namespace skin
