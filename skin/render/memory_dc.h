#pragma once
#include <windows.h>

namespace skin {

// A bitmap of width x height in the display's true-colour format (32 bits a
// pixel, no alpha). Unlike a bitmap made compatible with a display context,
// making one does not consult the display. 0 on failure.
HBITMAP CreateSurfaceBitmap(int width, int height) noexcept;

// A memory surface: a memory device context holding a surface bitmap of
// width x height that belongs to it. Contents are undefined until painted.
// 0 on failure. Release it with DeleteMemoryDC (DeleteDC alone would leave
// the bitmap behind).
HDC CreateMemoryDC(int width, int height) noexcept;

// Deletes a surface made by CreateMemoryDC together with its bitmap.
void DeleteMemoryDC(HDC surface) noexcept;

}  // namespace skin
