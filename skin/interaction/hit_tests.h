#pragma once
#include <windows.h>

namespace skin {

// Client x and y of a mouse message, each sign-extended from its 16 bits.
int GetLParamX(LPARAM lParam) noexcept;
int GetLParamY(LPARAM lParam) noexcept;

// Index of the header item whose left..right (both inclusive) holds x; the
// lower index wins on a shared edge; -1 when none does.
int HitTestHeaderItem(HWND header, int x) noexcept;

// The drop-down button zone of an editable combo box, in client pixels:
// width - scrollWidth - 2 <= x <= width - 2 and 2 <= y <= height - 2.
bool InComboButtonZone(int width, int height, int scrollWidth, int x, int y) noexcept;

// InComboButtonZone with the window's size and SM_CXVSCROLL at its DPI.
bool HitTestComboButton(HWND combo, int x, int y) noexcept;

// Whether the window under the cursor is this one.
bool IsUnderCursor(HWND window) noexcept;

}  // namespace skin
