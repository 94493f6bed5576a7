#pragma once
#include <windows.h>

namespace skin {

// A memory surface: a memory device context holding a display-compatible
// bitmap of width x height that belongs to it. Contents are undefined until
// painted. 0 on failure. Release it with DeleteMemoryDC (DeleteDC alone
// would leave the bitmap behind).
HDC CreateMemoryDC(int width, int height) noexcept;

// Deletes a surface made by CreateMemoryDC together with its bitmap.
void DeleteMemoryDC(HDC surface) noexcept;

}  // namespace skin
