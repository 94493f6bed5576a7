#pragma once
#include <windows.h>

namespace skin {

// Colour of the image pixels that are never drawn (magenta).
inline constexpr COLORREF TransparentKey = 0x00FF00FF;

// Geometry of the pieces cut out of the images.
inline constexpr int kButtonFaceWidth = 7;    // faces stacked: state n at (0, 21 n)
inline constexpr int kButtonFaceHeight = 21;
inline constexpr int kComboFaceWidth = 4;     // hot face at (0,0), pressed at (4,0)
inline constexpr int kComboFaceHeight = 18;
inline constexpr int kComboArrowWidth = 7;    // enabled arrow at (8,0), disabled at (8,4)
inline constexpr int kComboArrowHeight = 4;
inline constexpr int kOptionFaceSize = 13;    // faces stacked: state n at (0, 13 n)
inline constexpr int kHeaderFaceWidth = 3;    // normal (0,0), hot (3,0), pressed (6,0)
inline constexpr int kHeaderFaceHeight = 20;

// The five images the skin draws from; each is a memory surface made by
// CreateMemoryDC (released with DeleteMemoryDC), or 0 when it could not be made.
struct SkinImages {
  HDC buttonFace = nullptr;   // 7 x 84
  HDC comboButton = nullptr;  // 15 x 18
  HDC mark = nullptr;         // 18 x 24: check 9x8 at (0,0)/(9,0), square 7x7 at (1,9)/(10,9),
                              // dot 5x5 at (2,18)/(11,18); enabled left, disabled right
  HDC optionFace = nullptr;   // 13 x 52
  HDC header = nullptr;       // 9 x 20
};

// Builds the five images from their constant pixel data.
SkinImages BuildSkinImages() noexcept;

// Deletes the five surfaces (with their bitmaps) and clears the handles.
void ReleaseSkinImages(SkinImages& images) noexcept;

}  // namespace skin
