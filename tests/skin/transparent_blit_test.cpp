#include <gtest/gtest.h>

#include <vector>

#include "skin/render/skin_images.h"
#include "skin/render/transparent_blit.h"
#include "surface_helpers.h"

namespace {
constexpr COLORREF kKey = 0x00FF00FF;
constexpr COLORREF kGrey = RGB(0x12, 0x34, 0x56);
}  // namespace

TEST(SkinTransparentBlit, BlockWithoutKeyIsAPlainCopy) {
  TestSurface source(12, 9, kGrey);
  PaintDistinctPixels(source);
  TestSurface dest(20, 15, kGrey);
  skin::TransparentBlit(dest.dc(), 3, 2, 10, 8, source.dc(), 1, 1, kKey);
  EXPECT_EQ(ReadBlock(dest.dc(), 3, 2, 10, 8), ReadBlock(source.dc(), 1, 1, 10, 8));
  for (int y = 0; y < 15; ++y) {
    EXPECT_EQ(dest.At(2, y), kGrey);
    EXPECT_EQ(dest.At(13, y), kGrey);
  }
  EXPECT_EQ(dest.At(5, 10), kGrey);
}

TEST(SkinTransparentBlit, BlockOfOnlyKeyChangesNothing) {
  TestSurface source(10, 8, kKey);
  TestSurface dest(10, 8, kGrey);
  PaintDistinctPixels(dest);
  const std::vector<COLORREF> before = ReadBlock(dest.dc(), 0, 0, 10, 8);
  skin::TransparentBlit(dest.dc(), 0, 0, 10, 8, source.dc(), 0, 0, kKey);
  EXPECT_EQ(ReadBlock(dest.dc(), 0, 0, 10, 8), before);
}

TEST(SkinTransparentBlit, MixedBlockReplacesOnlyNonKeyPixels) {
  TestSurface source(10, 8, kGrey);
  PaintDistinctPixels(source);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      if ((x + y) % 3 == 0) source.Set(x, y, kKey);
    }
  }
  TestSurface dest(10, 8, kGrey);
  PaintDistinctPixels(dest);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) dest.Set(x, y, RGB(200 - x, 100 + y, 50));
  }
  skin::TransparentBlit(dest.dc(), 0, 0, 10, 8, source.dc(), 0, 0, kKey);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const COLORREF expected = (x + y) % 3 == 0 ? RGB(200 - x, 100 + y, 50) : source.At(x, y);
      EXPECT_EQ(dest.At(x, y), expected) << x << "," << y;
    }
  }
}

TEST(SkinTransparentBlit, SystemColourKeyIsResolved) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  TestSurface source(8, 4, kGrey);
  PaintDistinctPixels(source);
  for (int x = 0; x < 8; ++x) source.Set(x, 1, face);
  TestSurface dest(8, 4, RGB(1, 2, 3));
  skin::TransparentBlit(dest.dc(), 0, 0, 8, 4, source.dc(), 0, 0, 0x80000000u | COLOR_BTNFACE);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(dest.At(x, 1), RGB(1, 2, 3)) << x;
    EXPECT_EQ(dest.At(x, 0), source.At(x, 0)) << x;
    EXPECT_EQ(dest.At(x, 2), source.At(x, 2)) << x;
  }
}

TEST(SkinTransparentBlit, UnresolvableKeyCopiesTheWholeBlock) {
  TestSurface source(6, 3, kGrey);
  PaintDistinctPixels(source);
  source.Set(2, 1, RGB(0, 0, 0xFF));
  TestSurface dest(6, 3, RGB(1, 2, 3));
  skin::TransparentBlit(dest.dc(), 0, 0, 6, 3, source.dc(), 0, 0, 0x800000FFu);
  EXPECT_EQ(ReadBlock(dest.dc(), 0, 0, 6, 3), ReadBlock(source.dc(), 0, 0, 6, 3));
}

TEST(SkinTransparentBlit, MarkImageCheckOnWhite) {
  skin::SkinImages images = skin::BuildSkinImages();
  TestSurface dest(13, 13, RGB(255, 255, 255));
  skin::TransparentBlit(dest.dc(), 2, 2, 9, 8, images.mark, 0, 0, skin::TransparentKey);
  EXPECT_EQ(dest.At(10, 2), FromRgb(0x54B71D));
  EXPECT_EQ(dest.At(9, 2), RGB(255, 255, 255));
  EXPECT_EQ(dest.At(2, 5), FromRgb(0x48A913));
  EXPECT_EQ(dest.At(4, 5), RGB(255, 255, 255));
  EXPECT_EQ(dest.At(5, 9), FromRgb(0x359102));
  skin::ReleaseSkinImages(images);
}
