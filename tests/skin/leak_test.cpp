#include <gtest/gtest.h>

#include "skin/render/caption_text.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/skin_images.h"
#include "skin/render/stretch_skin_image.h"
#include "skin/render/transparent_blit.h"
#include "surface_helpers.h"

namespace {
constexpr COLORREF kGrey = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kRounds = 4000;
}  // namespace

TEST(SkinGdiWrappers, CounterFollowsOwnership) {
  const long start = skin::LiveGdiObjects();
  {
    skin::OwnedBrush brush(CreateSolidBrush(kGrey));
    EXPECT_EQ(skin::LiveGdiObjects(), start + 1);
    skin::OwnedBrush moved(std::move(brush));
    EXPECT_EQ(skin::LiveGdiObjects(), start + 1);
    EXPECT_EQ(brush.get(), nullptr);
    skin::OwnedDC dc(CreateCompatibleDC(nullptr));
    EXPECT_EQ(skin::LiveGdiObjects(), start + 2);
    HDC taken = dc.release();
    EXPECT_EQ(skin::LiveGdiObjects(), start + 1);
    DeleteDC(taken);
    skin::OwnedBrush none(nullptr);
    EXPECT_EQ(skin::LiveGdiObjects(), start + 1);
  }
  EXPECT_EQ(skin::LiveGdiObjects(), start);
}

// Thousands of calls of every primitive: the wrappers' count returns to its
// start and the surfaces still draw correctly afterwards (a leak would run
// the process out of GDI handles first).
TEST(SkinLeaks, PrimitivesReleaseEverythingTheyMake) {
  skin::SkinImages images = skin::BuildSkinImages();
  TestSurface dest(80, 30, kGrey);
  const long start = skin::LiveGdiObjects();
  for (int i = 0; i < kRounds; ++i) {
    skin::FillSolidRect(dest.dc(), 0, 0, 80, 30, kWhite);
    skin::FrameSolidRect(dest.dc(), 0, 0, 80, 30, 0x00D5A554);
    skin::DrawFocusFrame(dest.dc(), 2, 2, 76, 26);
    skin::DrawCaptionText(dest.dc(), L"赋值", 2, 2, 76, 26);
    skin::StretchSkinImage(dest.dc(), {0, 0, 75, 23}, images.buttonFace, {0, 21, 7, 21}, {3, 3, 3, 3});
    skin::StretchSkinImage(dest.dc(), {0, 0, 13, 13}, images.optionFace, {0, 13, 13, 13},
                           {5, 5, 5, 5}, skin::TransparentKey);
    skin::TransparentBlit(dest.dc(), 20, 2, 9, 8, images.mark, 0, 0, skin::TransparentKey);
    skin::DeleteMemoryDC(skin::CreateMemoryDC(75, 23));
  }
  EXPECT_EQ(skin::LiveGdiObjects(), start);

  skin::FillSolidRect(dest.dc(), 0, 0, 80, 30, kWhite);
  skin::StretchSkinImage(dest.dc(), {0, 0, 75, 23}, images.buttonFace, {0, 0, 7, 21}, {3, 3, 3, 3});
  EXPECT_EQ(dest.At(0, 0), FromRgb(0xBFE1F9));
  EXPECT_EQ(dest.At(40, 1), FromRgb(0xFFFFFF));
  EXPECT_EQ(dest.At(0, 10), 0x00D58F1Bu);
  EXPECT_EQ(dest.At(74, 22), FromRgb(0xCAE7FB));
  skin::TransparentBlit(dest.dc(), 20, 2, 9, 8, images.mark, 0, 0, skin::TransparentKey);
  EXPECT_EQ(dest.At(28, 2), FromRgb(0x54B71D));
  EXPECT_EQ(dest.At(27, 2), FromRgb(0xFFFFFF));
  skin::FrameSolidRect(dest.dc(), 0, 0, 80, 30, 0x00D5A554);
  EXPECT_EQ(dest.At(79, 29), 0x00D5A554u);
  skin::ReleaseSkinImages(images);
}

TEST(SkinLeaks, ImagesCanBeBuiltAndReleasedRepeatedly) {
  for (int i = 0; i < 500; ++i) {
    skin::SkinImages images = skin::BuildSkinImages();
    ASSERT_NE(images.header, nullptr) << i;
    skin::ReleaseSkinImages(images);
  }
  skin::SkinImages images = skin::BuildSkinImages();
  EXPECT_EQ(GetPixel(images.buttonFace, 3, 1), 0x00FFFFFFu);
  EXPECT_EQ(GetPixel(images.comboButton, 8, 8), 0x00FF00FFu);
  skin::ReleaseSkinImages(images);
}
