#pragma once
#include <windows.h>

namespace skin {

// Copies a width x height block from `source` at (sx, sy) to `dest` at
// (dx, dy), leaving the destination untouched wherever the source pixel has
// the key colour. The key may be a system-colour reference (0x800000nn); it
// is resolved through `palette`, or a halftone palette when none is given.
// A key that cannot be resolved matches nothing, so the block is copied whole.
void TransparentBlit(HDC dest, int dx, int dy, int width, int height, HDC source, int sx, int sy,
                     COLORREF key, HPALETTE palette = nullptr) noexcept;

}  // namespace skin
