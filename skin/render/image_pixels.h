#pragma once
#include <cstdint>
#include <vector>

namespace skin::detail {

// An image as plain pixels: row-major, top row first, each pixel 0x00RRGGBB
// (the layout of a 32-bit top-down DIB).
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> rgb;
};

PixelImage ButtonFacePixels();   // 7 x 84
PixelImage ComboButtonPixels();  // 15 x 18
PixelImage MarkPixels();         // 18 x 24
PixelImage OptionFacePixels();   // 13 x 52
PixelImage HeaderPixels();       // 9 x 20

}  // namespace skin::detail
