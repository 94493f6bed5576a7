#pragma once
#include <windows.h>

namespace skin {

// A memory surface: a memory device context holding a display-compatible
// bitmap of width x height that it owns. Released with DeleteDC, which frees
// the bitmap too. Contents are undefined until painted. 0 on failure.
HDC CreateMemoryDC(int width, int height) noexcept;

}  // namespace skin
