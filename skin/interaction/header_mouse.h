#pragma once
#include <windows.h>

namespace skin {

// The header's part of the mouse handlers, run after the message was passed
// on. "HDINDEX" names the pressed item, "HMINDEX" the hot one (-1: none).

// Button down or double-click: the item under x is pressed and drawn so; a
// header without items is left as it is.
void HeaderButtonDown(HWND header, int x) noexcept;

// Button up: the pressed item is released, drawn Normal while the pointer is
// over the header and Hot when it is elsewhere.
void HeaderButtonUp(HWND header) noexcept;

// Hot tracking: the item under x becomes hot, the old one Normal; while the
// left button is held no item becomes hot and the pressed one keeps its face.
void HeaderMouseMove(HWND header, int x, bool leftButtonDown) noexcept;

// The pointer left: nothing is pressed or hot any more.
void HeaderMouseLeave(HWND header) noexcept;

}  // namespace skin
