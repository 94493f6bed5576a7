#include <gtest/gtest.h>

#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/skin_images.h"
#include "surface_helpers.h"

namespace {

constexpr COLORREF kKey = 0x00FF00FF;

class SkinImages : public ::testing::Test {
 protected:
  void SetUp() override { images_ = skin::BuildSkinImages(); }
  void TearDown() override { skin::ReleaseSkinImages(images_); }
  skin::SkinImages images_;
};

void ExpectSize(HDC dc, LONG width, LONG height) {
  ASSERT_NE(dc, nullptr);
  const SIZE size = SurfaceSize(dc);
  EXPECT_EQ(size.cx, width);
  EXPECT_EQ(size.cy, height);
}

}  // namespace

TEST(SkinMemoryDC, MakesASurfaceOfTheRequestedSizeThatDraws) {
  HDC dc = skin::CreateMemoryDC(31, 17);
  ASSERT_NE(dc, nullptr);
  const SIZE size = SurfaceSize(dc);
  EXPECT_EQ(size.cx, 31);
  EXPECT_EQ(size.cy, 17);
  SetPixelV(dc, 30, 16, RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 30, 16), RGB(1, 2, 3));
  skin::DeleteMemoryDC(dc);
}

namespace {
bool BitmapAlive(HGDIOBJ bitmap) {
  BITMAP info;
  return GetObjectW(bitmap, sizeof(info), &info) != 0;
}
}  // namespace

TEST(SkinMemoryDC, DeletingTheSurfaceFreesItsBitmap) {
  HDC dc = skin::CreateMemoryDC(8, 8);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  ASSERT_TRUE(BitmapAlive(bitmap));
  skin::DeleteMemoryDC(dc);
  EXPECT_FALSE(BitmapAlive(bitmap));
  EXPECT_EQ(GetObjectType(dc), 0u);
  skin::DeleteMemoryDC(nullptr);  // no surface, nothing to do

  const long start = skin::LiveGdiObjects();
  {
    skin::OwnedMemoryDC owned(skin::CreateMemoryDC(8, 8));
    bitmap = GetCurrentObject(owned.get(), OBJ_BITMAP);
    EXPECT_EQ(skin::LiveGdiObjects(), start + 1);
  }
  EXPECT_FALSE(BitmapAlive(bitmap));
  EXPECT_EQ(skin::LiveGdiObjects(), start);
}

TEST(SkinMemoryDC, ReleasingTheImagesFreesTheirBitmaps) {
  skin::SkinImages images = skin::BuildSkinImages();
  const HGDIOBJ bitmaps[] = {
      GetCurrentObject(images.buttonFace, OBJ_BITMAP), GetCurrentObject(images.comboButton, OBJ_BITMAP),
      GetCurrentObject(images.mark, OBJ_BITMAP),       GetCurrentObject(images.optionFace, OBJ_BITMAP),
      GetCurrentObject(images.header, OBJ_BITMAP)};
  for (HGDIOBJ bitmap : bitmaps) ASSERT_TRUE(BitmapAlive(bitmap));
  skin::ReleaseSkinImages(images);
  for (HGDIOBJ bitmap : bitmaps) EXPECT_FALSE(BitmapAlive(bitmap));
  EXPECT_EQ(images.mark, nullptr);
}

TEST_F(SkinImages, SizesOfTheFiveImages) {
  ExpectSize(images_.buttonFace, 7, 84);
  ExpectSize(images_.comboButton, 15, 18);
  ExpectSize(images_.mark, 18, 24);
  ExpectSize(images_.optionFace, 13, 52);
  ExpectSize(images_.header, 9, 20);
}

TEST_F(SkinImages, ButtonFacePixels) {
  HDC dc = images_.buttonFace;
  EXPECT_EQ(GetPixel(dc, 3, 1), 0x00FFFFFFu);
  EXPECT_EQ(GetPixel(dc, 0, 3), 0x00D58F1Bu);
  // Normal face: corners, top border, gradient with its step between rows 10 and 11.
  EXPECT_EQ(GetPixel(dc, 0, 0), FromRgb(0xBFE1F9));
  EXPECT_EQ(GetPixel(dc, 6, 0), FromRgb(0xBFE1F9));
  EXPECT_EQ(GetPixel(dc, 0, 20), FromRgb(0xCAE7FB));
  EXPECT_EQ(GetPixel(dc, 6, 20), FromRgb(0xCAE7FB));
  EXPECT_EQ(GetPixel(dc, 2, 0), FromRgb(0x2C97D8));
  EXPECT_EQ(GetPixel(dc, 4, 0), FromRgb(0x2C97D8));
  EXPECT_EQ(GetPixel(dc, 1, 1), FromRgb(0x7EC0E7));
  EXPECT_EQ(GetPixel(dc, 5, 1), FromRgb(0x7EC0E7));
  EXPECT_EQ(GetPixel(dc, 3, 3), FromRgb(0xF1F8FC));
  EXPECT_EQ(GetPixel(dc, 3, 10), FromRgb(0xD7EAF9));
  EXPECT_EQ(GetPixel(dc, 3, 11), FromRgb(0xCCE2F5));
  EXPECT_EQ(GetPixel(dc, 3, 17), FromRgb(0xB1D0EA));
  EXPECT_EQ(GetPixel(dc, 6, 10), 0x00D58F1Bu);
  EXPECT_EQ(GetPixel(dc, 1, 19), FromRgb(0x68B2E1));
  // Hot face (rows 21..41): saturated ring, light face.
  EXPECT_EQ(GetPixel(dc, 1, 22), FromRgb(0x28A3E6));
  EXPECT_EQ(GetPixel(dc, 3, 22), FromRgb(0x4CC3FB));
  EXPECT_EQ(GetPixel(dc, 3, 26), FromRgb(0xE4F2FC));
  EXPECT_EQ(GetPixel(dc, 5, 38), FromRgb(0x39BAF8));
  EXPECT_EQ(GetPixel(dc, 0, 39), FromRgb(0x2895D7));
  // Pressed face (rows 42..62).
  EXPECT_EQ(GetPixel(dc, 3, 43), FromRgb(0x39BCFB));
  EXPECT_EQ(GetPixel(dc, 3, 45), FromRgb(0x9FD4F3));
  EXPECT_EQ(GetPixel(dc, 2, 59), FromRgb(0xAEE4FE));
  EXPECT_EQ(GetPixel(dc, 3, 62), 0x00D58F1Bu);
  // Disabled face (rows 63..83): pale border.
  EXPECT_EQ(GetPixel(dc, 0, 63), FromRgb(0xF2F7FB));
  EXPECT_EQ(GetPixel(dc, 3, 63), FromRgb(0x87C3E8));
  EXPECT_EQ(GetPixel(dc, 0, 70), FromRgb(0x87C3E8));
  EXPECT_EQ(GetPixel(dc, 6, 70), FromRgb(0x87C3E8));
  EXPECT_EQ(GetPixel(dc, 3, 73), FromRgb(0xE5F1FA));
  EXPECT_EQ(GetPixel(dc, 0, 83), FromRgb(0xF2F6FB));
  EXPECT_EQ(GetPixel(dc, 3, 83), FromRgb(0x87C3E8));
}

TEST_F(SkinImages, ComboButtonFacesAndArrows) {
  HDC dc = images_.comboButton;
  EXPECT_EQ(GetPixel(dc, 8, 8), kKey);
  for (int y = 0; y < 18; ++y) {
    EXPECT_EQ(GetPixel(dc, 0, y), FromRgb(0x4EA0D1)) << y;
    EXPECT_EQ(GetPixel(dc, 4, y), FromRgb(0x4EA0D1)) << y;
    EXPECT_EQ(GetPixel(dc, 1, y), GetPixel(dc, 3, y)) << y;
    EXPECT_EQ(GetPixel(dc, 5, y), GetPixel(dc, 7, y)) << y;
  }
  EXPECT_EQ(GetPixel(dc, 1, 0), FromRgb(0xE8F9FF));
  EXPECT_EQ(GetPixel(dc, 2, 1), FromRgb(0xC1EEFD));
  EXPECT_EQ(GetPixel(dc, 2, 16), FromRgb(0x65B8E3));
  EXPECT_EQ(GetPixel(dc, 3, 17), FromRgb(0xC0E1F3));
  EXPECT_EQ(GetPixel(dc, 5, 0), FromRgb(0xBEE1F3));
  EXPECT_EQ(GetPixel(dc, 6, 1), FromRgb(0x61B5E2));
  EXPECT_EQ(GetPixel(dc, 7, 9), FromRgb(0xD3EDF9));
  EXPECT_EQ(GetPixel(dc, 6, 17), FromRgb(0xE6F8FE));
  // Arrows: rows cover x 0..6, 1..5, 2..4, 3.
  const COLORREF enabled = FromRgb(0x19555F), disabled = FromRgb(0x84A5AC);
  EXPECT_EQ(GetPixel(dc, 8, 0), enabled);
  EXPECT_EQ(GetPixel(dc, 14, 0), enabled);
  EXPECT_EQ(GetPixel(dc, 8, 1), kKey);
  EXPECT_EQ(GetPixel(dc, 9, 1), enabled);
  EXPECT_EQ(GetPixel(dc, 13, 1), enabled);
  EXPECT_EQ(GetPixel(dc, 14, 1), kKey);
  EXPECT_EQ(GetPixel(dc, 10, 2), enabled);
  EXPECT_EQ(GetPixel(dc, 9, 2), kKey);
  EXPECT_EQ(GetPixel(dc, 11, 3), enabled);
  EXPECT_EQ(GetPixel(dc, 10, 3), kKey);
  EXPECT_EQ(GetPixel(dc, 12, 3), kKey);
  EXPECT_EQ(GetPixel(dc, 8, 4), disabled);
  EXPECT_EQ(GetPixel(dc, 11, 7), disabled);
  EXPECT_EQ(GetPixel(dc, 12, 7), kKey);
  for (int y = 8; y < 18; ++y) {
    for (int x = 8; x < 15; ++x) EXPECT_EQ(GetPixel(dc, x, y), kKey) << x << "," << y;
  }
}

TEST_F(SkinImages, MarkShapesOnKeyColour) {
  HDC dc = images_.mark;
  // Check mark, enabled and disabled.
  EXPECT_EQ(GetPixel(dc, 8, 0), FromRgb(0x54B71D));
  EXPECT_EQ(GetPixel(dc, 7, 0), kKey);
  EXPECT_EQ(GetPixel(dc, 0, 3), FromRgb(0x48A913));
  EXPECT_EQ(GetPixel(dc, 2, 3), kKey);
  EXPECT_EQ(GetPixel(dc, 5, 3), FromRgb(0x48A913));
  EXPECT_EQ(GetPixel(dc, 3, 4), kKey);
  EXPECT_EQ(GetPixel(dc, 3, 7), FromRgb(0x359102));
  EXPECT_EQ(GetPixel(dc, 17, 0), FromRgb(0xA8DA8C));
  EXPECT_EQ(GetPixel(dc, 12, 7), FromRgb(0x98C77E));
  // Grayed squares.
  EXPECT_EQ(GetPixel(dc, 1, 9), FromRgb(0x51B41B));
  EXPECT_EQ(GetPixel(dc, 7, 15), FromRgb(0x399606));
  EXPECT_EQ(GetPixel(dc, 0, 9), kKey);
  EXPECT_EQ(GetPixel(dc, 10, 9), FromRgb(0xA6D98B));
  EXPECT_EQ(GetPixel(dc, 16, 15), FromRgb(0x9AC980));
  // Dots.
  EXPECT_EQ(GetPixel(dc, 2, 18), kKey);
  EXPECT_EQ(GetPixel(dc, 3, 18), FromRgb(0x87CC60));
  EXPECT_EQ(GetPixel(dc, 4, 18), FromRgb(0x5CBA28));
  EXPECT_EQ(GetPixel(dc, 2, 20), FromRgb(0x50AC1D));
  EXPECT_EQ(GetPixel(dc, 4, 20), FromRgb(0x47A812));
  EXPECT_EQ(GetPixel(dc, 6, 22), kKey);
  EXPECT_EQ(GetPixel(dc, 5, 22), FromRgb(0x73B44F));
  EXPECT_EQ(GetPixel(dc, 12, 18), FromRgb(0xC3E5AF));
  EXPECT_EQ(GetPixel(dc, 13, 22), FromRgb(0x9FCC87));
  // Key rows and columns.
  for (int x = 0; x < 18; ++x) {
    for (int y : {8, 16, 17, 23}) EXPECT_EQ(GetPixel(dc, x, y), kKey) << x << "," << y;
  }
  for (int y = 3; y < 24; ++y) {
    EXPECT_EQ(GetPixel(dc, 8, y), kKey) << y;
    EXPECT_EQ(GetPixel(dc, 17, y), kKey) << y;
  }
}

TEST_F(SkinImages, OptionFacesShareTheRoundOutline) {
  HDC dc = images_.optionFace;
  EXPECT_EQ(GetPixel(dc, 0, 0), kKey);
  for (int state = 0; state < 4; ++state) {
    const int top = 13 * state;
    for (int y = 0; y < 13; ++y) {
      // Opaque span per row: 3..9, 2..10, 1..11, then full rows 3..9.
      const int inset = y == 0 || y == 12 ? 3 : y == 1 || y == 11 ? 2 : y == 2 || y == 10 ? 1 : 0;
      for (int x = 0; x < 13; ++x) {
        const bool opaque = x >= inset && x <= 12 - inset;
        EXPECT_EQ(GetPixel(dc, x, top + y) != kKey, opaque) << state << ":" << x << "," << y;
      }
    }
  }
}

TEST_F(SkinImages, OptionFaceColours) {
  HDC dc = images_.optionFace;
  // Normal face: rows from the full table.
  const std::uint32_t row0[] = {0xBCCFE7, 0x95B3D9, 0x86A8D3, 0x83A6D2, 0x86A8D3, 0x95B3D9, 0xBCCFE7};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(GetPixel(dc, 3 + i, 0), FromRgb(row0[i]));
    EXPECT_EQ(GetPixel(dc, 3 + i, 12), FromRgb(row0[i]));
    EXPECT_EQ(GetPixel(dc, 0, 3 + i), FromRgb(row0[i]));
    EXPECT_EQ(GetPixel(dc, 12, 3 + i), FromRgb(row0[i]));
  }
  EXPECT_EQ(GetPixel(dc, 2, 1), FromRgb(0x9DB8DB));
  EXPECT_EQ(GetPixel(dc, 11, 10), FromRgb(0x9DB8DB));
  EXPECT_EQ(GetPixel(dc, 3, 1), FromRgb(0xA9C2DF));
  EXPECT_EQ(GetPixel(dc, 1, 4), FromRgb(0xD6E2EF));
  EXPECT_EQ(GetPixel(dc, 6, 6), FromRgb(0xFFFFFF));
  EXPECT_EQ(GetPixel(dc, 2, 10), FromRgb(0xCAD9EC));
  EXPECT_EQ(GetPixel(dc, 4, 11), FromRgb(0xEDF2F8));
  EXPECT_EQ(GetPixel(dc, 11, 9), FromRgb(0xB3C8E3));

  // Hot face: the normal border, interior from C3EAF8 (top left) to E1F5FD (bottom right).
  EXPECT_EQ(GetPixel(dc, 6, 13), FromRgb(0x83A6D2));
  EXPECT_EQ(GetPixel(dc, 0, 13 + 5), FromRgb(0x86A8D3));
  EXPECT_EQ(GetPixel(dc, 10, 13 + 1), FromRgb(0x9DB8DB));
  EXPECT_EQ(GetPixel(dc, 2, 13 + 2), FromRgb(0xC3EAF8));
  EXPECT_EQ(GetPixel(dc, 10, 13 + 10), FromRgb(0xE1F5FD));

  // Pressed face: darker border, interior from ADE1F5 (bottom left) to D5F1FD (top right).
  const std::uint32_t pressed[] = {0xA4BCDD, 0x7699CA, 0x678BC2, 0x6489C1, 0x678BC2, 0x7699CA, 0xA4BCDD};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(GetPixel(dc, 3 + i, 26), FromRgb(pressed[i]));
    EXPECT_EQ(GetPixel(dc, 12, 26 + 3 + i), FromRgb(pressed[i]));
  }
  EXPECT_EQ(GetPixel(dc, 1, 26 + 2), FromRgb(0x7F9FCD));
  EXPECT_EQ(GetPixel(dc, 2, 26 + 10), FromRgb(0xADE1F5));
  EXPECT_EQ(GetPixel(dc, 10, 26 + 2), FromRgb(0xD5F1FD));

  // Disabled face: pale border, white centre.
  const std::uint32_t pale[] = {0xDDE7F3, 0xCAD9EC, 0xC2D3E9, 0xC1D2E8, 0xC2D3E9, 0xCAD9EC, 0xDDE7F3};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(GetPixel(dc, 3 + i, 39 + 12), FromRgb(pale[i]));
    EXPECT_EQ(GetPixel(dc, 0, 39 + 3 + i), FromRgb(pale[i]));
  }
  EXPECT_EQ(GetPixel(dc, 2, 39 + 11), FromRgb(0xCEDBED));
  EXPECT_EQ(GetPixel(dc, 6, 39 + 6), FromRgb(0xFFFFFF));
}

TEST_F(SkinImages, HeaderFaces) {
  HDC dc = images_.header;
  for (int x = 0; x < 9; ++x) EXPECT_EQ(GetPixel(dc, x, 19), FromRgb(0xC0DAF2)) << x;
  EXPECT_EQ(GetPixel(dc, 0, 0), FromRgb(0xEAF5FE));
  EXPECT_EQ(GetPixel(dc, 1, 8), FromRgb(0xDDECFA));
  EXPECT_EQ(GetPixel(dc, 2, 9), FromRgb(0x7AB0D9));
  EXPECT_EQ(GetPixel(dc, 4, 1), FromRgb(0xD6EFFF));
  EXPECT_EQ(GetPixel(dc, 3, 18), FromRgb(0x73CCFB));
  EXPECT_EQ(GetPixel(dc, 6, 13), FromRgb(0x65C5FA));
  EXPECT_EQ(GetPixel(dc, 7, 17), FromRgb(0xC8F2FF));
  EXPECT_EQ(GetPixel(dc, 8, 14), FromRgb(0x5FB6E9));
}

TEST_F(SkinImages, ARebuildGivesIdenticalImages) {
  skin::SkinImages second = skin::BuildSkinImages();
  const struct {
    HDC first;
    HDC second;
    int width;
    int height;
  } pairs[] = {
      {images_.buttonFace, second.buttonFace, 7, 84}, {images_.comboButton, second.comboButton, 15, 18},
      {images_.mark, second.mark, 18, 24},            {images_.optionFace, second.optionFace, 13, 52},
      {images_.header, second.header, 9, 20},
  };
  for (const auto& pair : pairs) {
    EXPECT_EQ(ReadBlock(pair.first, 0, 0, pair.width, pair.height),
              ReadBlock(pair.second, 0, 0, pair.width, pair.height));
  }
  skin::ReleaseSkinImages(second);
  EXPECT_EQ(second.buttonFace, nullptr);
  EXPECT_EQ(second.header, nullptr);
}
