#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skin/render/skin_images.h"
#include "skin/render/stretch_skin_image.h"
#include "surface_helpers.h"

using skin::Margins;
using skin::PixelRect;
using skin::StretchSkinImage;

namespace {
constexpr COLORREF kGrey = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kKey = 0x00FF00FF;

// Index of each pixel of `column` (rows first..last) in `expected`; fails the
// test when a pixel is not one of them.
std::vector<int> IndicesInSequence(HDC dc, int x, int first, int last,
                                   const std::vector<COLORREF>& expected) {
  std::vector<int> indices;
  for (int y = first; y <= last; ++y) {
    const auto it = std::find(expected.begin(), expected.end(), GetPixel(dc, x, y));
    EXPECT_NE(it, expected.end()) << "row " << y;
    indices.push_back(static_cast<int>(it - expected.begin()));
  }
  return indices;
}
}  // namespace

TEST(SkinStretch, SourceSizeReproducesThePieceExactly) {
  TestSurface source(20, 30, kGrey);
  PaintDistinctPixels(source);
  TestSurface dest(16, 28, kGrey);
  EXPECT_NE(StretchSkinImage(dest.dc(), {3, 2, 7, 21}, source.dc(), {5, 4, 7, 21}, {3, 3, 3, 3}), 0);
  EXPECT_EQ(ReadBlock(dest.dc(), 3, 2, 7, 21), ReadBlock(source.dc(), 5, 4, 7, 21));
  // Nothing outside the destination rectangle is touched.
  for (int y = 0; y < 28; ++y) {
    EXPECT_EQ(dest.At(2, y), kGrey);
    EXPECT_EQ(dest.At(10, y), kGrey);
  }
  EXPECT_EQ(dest.At(5, 1), kGrey);
  EXPECT_EQ(dest.At(5, 23), kGrey);
}

TEST(SkinStretch, ButtonFaceOntoButtonSizeKeepsCornersAndStretchesEdges) {
  skin::SkinImages images = skin::BuildSkinImages();
  TestSurface dest(75, 23, kGrey);
  EXPECT_NE(StretchSkinImage(dest.dc(), {0, 0, 75, 23}, images.buttonFace, {0, 0, 7, 21}, {3, 3, 3, 3}),
            0);
  HDC dc = dest.dc();
  // Corners, 3 x 3, as in the normal face.
  EXPECT_EQ(GetPixel(dc, 0, 0), FromRgb(0xBFE1F9));
  EXPECT_EQ(GetPixel(dc, 1, 0), FromRgb(0x6BB3E3));
  EXPECT_EQ(GetPixel(dc, 2, 0), FromRgb(0x2C97D8));
  EXPECT_EQ(GetPixel(dc, 0, 1), FromRgb(0x69B2E2));
  EXPECT_EQ(GetPixel(dc, 1, 1), FromRgb(0x7EC0E7));
  EXPECT_EQ(GetPixel(dc, 2, 1), FromRgb(0xE7F3FB));
  EXPECT_EQ(GetPixel(dc, 0, 2), FromRgb(0x2995D7));
  EXPECT_EQ(GetPixel(dc, 1, 2), FromRgb(0xECF6FC));
  EXPECT_EQ(GetPixel(dc, 74, 0), FromRgb(0xBFE1F9));
  EXPECT_EQ(GetPixel(dc, 72, 0), FromRgb(0x2C97D8));
  EXPECT_EQ(GetPixel(dc, 73, 1), FromRgb(0x7EC0E7));
  EXPECT_EQ(GetPixel(dc, 0, 20), FromRgb(0x2895D7));
  EXPECT_EQ(GetPixel(dc, 1, 20), FromRgb(0xBAD7EE));
  EXPECT_EQ(GetPixel(dc, 2, 20), FromRgb(0xBBD6EC));
  EXPECT_EQ(GetPixel(dc, 0, 21), FromRgb(0x64B0E2));
  EXPECT_EQ(GetPixel(dc, 1, 21), FromRgb(0x68B2E1));
  EXPECT_EQ(GetPixel(dc, 0, 22), FromRgb(0xCAE7FB));
  EXPECT_EQ(GetPixel(dc, 2, 22), FromRgb(0x2A96D8));
  EXPECT_EQ(GetPixel(dc, 74, 22), FromRgb(0xCAE7FB));
  EXPECT_EQ(GetPixel(dc, 73, 21), FromRgb(0x68B2E1));
  // Top and bottom rows stretched across: the middle column of the face.
  for (int x = 3; x <= 71; ++x) {
    EXPECT_EQ(GetPixel(dc, x, 0), FromRgb(0x1B8FD5)) << x;
    EXPECT_EQ(GetPixel(dc, x, 1), FromRgb(0xFFFFFF)) << x;
    EXPECT_EQ(GetPixel(dc, x, 20), FromRgb(0xB0CFE9)) << x;
    EXPECT_EQ(GetPixel(dc, x, 21), FromRgb(0xCCE0F1)) << x;
    EXPECT_EQ(GetPixel(dc, x, 22), FromRgb(0x1B8FD5)) << x;
  }
  // Left and right columns stretched down, 15 source rows over 17.
  for (int y = 3; y <= 19; ++y) {
    EXPECT_EQ(GetPixel(dc, 0, y), 0x00D58F1Bu) << y;
    EXPECT_EQ(GetPixel(dc, 74, y), 0x00D58F1Bu) << y;
  }
  std::vector<COLORREF> column2;
  for (std::uint32_t rgb : {0xF1F8FCu, 0xEEF6FBu, 0xEAF4FBu, 0xE6F2FBu, 0xE2F0FAu, 0xDEEEFAu,
                            0xDAECF9u, 0xD7EAF9u, 0xCCE2F5u, 0xC8DFF3u, 0xC3DCF1u, 0xBED8EFu,
                            0xB8D5EDu, 0xB4D2EBu, 0xB1D0EAu}) {
    column2.push_back(FromRgb(rgb));
  }
  for (int x : {2, 72, 37}) {
    const std::vector<int> indices = IndicesInSequence(dc, x, 3, 19, column2);
    ASSERT_EQ(indices.size(), 17u);
    EXPECT_EQ(indices.front(), 0);
    EXPECT_EQ(indices.back(), 14);
    EXPECT_TRUE(std::is_sorted(indices.begin(), indices.end()));
    std::vector<int> unique = indices;
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    EXPECT_EQ(unique.size(), 15u) << "column " << x;
  }
  skin::ReleaseSkinImages(images);
}

TEST(SkinStretch, AnyZeroSizeDrawsNothingAndReturnsZero) {
  TestSurface source(7, 21, kGrey);
  PaintDistinctPixels(source);
  TestSurface dest(20, 30, RGB(1, 2, 3));
  const std::vector<COLORREF> before = ReadBlock(dest.dc(), 0, 0, 20, 30);
  const Margins m{3, 3, 3, 3};
  EXPECT_EQ(StretchSkinImage(dest.dc(), {0, 0, 0, 21}, source.dc(), {0, 0, 7, 21}, m), 0);
  EXPECT_EQ(StretchSkinImage(dest.dc(), {0, 0, 7, 0}, source.dc(), {0, 0, 7, 21}, m), 0);
  EXPECT_EQ(StretchSkinImage(dest.dc(), {0, 0, 7, 21}, source.dc(), {0, 0, 0, 21}, m), 0);
  EXPECT_EQ(StretchSkinImage(dest.dc(), {0, 0, 7, 21}, source.dc(), {0, 0, 7, 0}, m, kKey), 0);
  EXPECT_EQ(ReadBlock(dest.dc(), 0, 0, 20, 30), before);
}

TEST(SkinStretch, DestinationSmallerThanMarginsShowsCornerPartsUnmirrored) {
  TestSurface source(7, 21, kGrey);
  PaintDistinctPixels(source);
  TestSurface dest(10, 30, kGrey);
  // 4 x 4: two columns and rows from each side.
  EXPECT_NE(StretchSkinImage(dest.dc(), {0, 0, 4, 4}, source.dc(), {0, 0, 7, 21}, {3, 3, 3, 3}), 0);
  const int srcX[] = {0, 1, 5, 6};
  const int srcY[] = {0, 1, 19, 20};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(dest.At(x, y), source.At(srcX[x], srcY[y])) << x << "," << y;
    }
  }
  // 5 wide, full height: columns 0..1 and 4..6 of the source, rows 1:1.
  EXPECT_NE(StretchSkinImage(dest.dc(), {5, 0, 5, 21}, source.dc(), {0, 0, 7, 21}, {3, 3, 3, 3}), 0);
  const int srcCol[] = {0, 1, 4, 5, 6};
  for (int y = 0; y < 21; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(dest.At(5 + x, y), source.At(srcCol[x], y)) << x << "," << y;
    }
  }
}

TEST(SkinStretch, KeyColourLeavesTheOptionFaceCornersTransparent) {
  skin::SkinImages images = skin::BuildSkinImages();
  TestSurface dest(40, 40, kGrey);
  EXPECT_EQ(StretchSkinImage(dest.dc(), {0, 0, 13, 13}, images.optionFace, {0, 0, 13, 13},
                             {5, 5, 5, 5}, skin::TransparentKey),
            1);
  EXPECT_EQ(dest.At(0, 0), kGrey);
  EXPECT_EQ(dest.At(12, 12), kGrey);
  EXPECT_EQ(dest.At(1, 1), kGrey);
  EXPECT_EQ(dest.At(6, 0), FromRgb(0x83A6D2));
  EXPECT_EQ(dest.At(2, 1), FromRgb(0x9DB8DB));
  EXPECT_EQ(dest.At(6, 6), FromRgb(0xFFFFFF));

  // Enlarged to 20 x 20 at (15, 15): 5 x 5 corners keep their shape.
  EXPECT_EQ(StretchSkinImage(dest.dc(), {15, 15, 20, 20}, images.optionFace, {0, 0, 13, 13},
                             {5, 5, 5, 5}, skin::TransparentKey),
            1);
  EXPECT_EQ(dest.At(15, 15), kGrey);
  EXPECT_EQ(dest.At(34, 34), kGrey);
  EXPECT_EQ(dest.At(18, 15), FromRgb(0xBCCFE7));
  EXPECT_EQ(dest.At(31, 34), FromRgb(0xBCCFE7));
  EXPECT_EQ(dest.At(15, 18), FromRgb(0xBCCFE7));
  EXPECT_EQ(dest.At(25, 25), FromRgb(0xFFFFFF));
  skin::ReleaseSkinImages(images);
}

TEST(SkinStretch, ShrinkingKeepsSourceColours) {
  // A red and green checkerboard halved: each pixel stays red or green
  // (ANDing the dropped pixels in would give black).
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0);
  TestSurface source(4, 4, kGrey);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) source.Set(x, y, (x + y) % 2 ? red : green);
  }
  TestSurface dest(2, 2, kGrey);
  EXPECT_NE(StretchSkinImage(dest.dc(), {0, 0, 2, 2}, source.dc(), {0, 0, 4, 4}, {0, 0, 0, 0}), 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      const COLORREF pixel = dest.At(x, y);
      EXPECT_TRUE(pixel == red || pixel == green) << x << "," << y << ": " << std::hex << pixel;
    }
  }
}
