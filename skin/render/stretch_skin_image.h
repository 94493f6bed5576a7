#pragma once
#include <windows.h>

#include <optional>

namespace skin {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Source margins (pixels) that keep their size while the middle stretches.
struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Draws the `from` piece of `image` into `to` on `dest` as nine pieces:
// corners copied 1:1, edges stretched along their length, centre both ways.
// The piece is composed off-screen and put on `dest` in one copy, through
// TransparentBlit when a key colour is given. A destination narrower or
// shorter than its two margins shows only the outer parts of the corners
// (never mirrored pieces). Returns 0 and draws nothing when any of the four
// sizes is 0 or less; otherwise nonzero when drawn (1 with a key).
int StretchSkinImage(HDC dest, const PixelRect& to, HDC image, const PixelRect& from,
                     const Margins& margins, std::optional<COLORREF> key = std::nullopt) noexcept;

}  // namespace skin
