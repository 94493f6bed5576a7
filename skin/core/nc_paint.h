#pragma once
#include <windows.h>

namespace skin {

// Half the difference between the window and client sizes, scroll bars (as
// wide as at the window's DPI) left out, rounded half to even. Always true.
bool GetBorderSize(HWND window, int& horizontal, int& vertical) noexcept;

// WM_NCPAINT of a skinned window. A progress bar is painted whole here, frame
// and bar, and its own procedure never sees the message (result 0). A data
// list keeps its frame. Any other window with a sunken client edge gets a
// flat one-pixel border after its own frame is drawn.
LRESULT OnSkinNcPaint(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept;

}  // namespace skin
