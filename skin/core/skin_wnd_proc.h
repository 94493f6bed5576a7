#pragma once
#include <windows.h>

#include "skin/core/skin_handler.h"

namespace skin {

// The window procedure of every skinned window: hands the messages the skin
// cares about to their handlers and everything else to the procedure kept in
// "PROCADDR". A window the skin left under another procedure passes straight
// through to the one kept in "PASSPROC"; any other window without
// "PROCADDR" is served by DefWindowProcW.
LRESULT CALLBACK SkinWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The handler SkinWndProc gives the message to (PassOn when the skin does
// nothing with it).
SkinHandler SkinHandlerFor(UINT message) noexcept;

}  // namespace skin
