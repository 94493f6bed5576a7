// Twips conversion, rounding and placement arithmetic.
#include <gtest/gtest.h>

#include <climits>

#include "forms/screen.h"
#include "forms/system_color.h"
#include "forms/twips.h"

namespace {

TEST(Twips, ScreenDpiGivesTwipsPerPixel) {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_DOUBLE_EQ(forms::TwipsPerPixelX(), 1440.0 / dpi);
  EXPECT_EQ(forms::TwipsToPixels(3750, 15), 250);
  EXPECT_EQ(forms::TwipsToPixels(3065, 15), 204);
  EXPECT_DOUBLE_EQ(forms::PixelsToTwips(121, 15), 1815);
  // At 120 DPI (12 twips per pixel) and 144 DPI (10).
  EXPECT_EQ(forms::TwipsToPixels(3750, 12), 312);  // 312.5, half to even
  EXPECT_EQ(forms::TwipsToPixels(3762, 12), 314);  // 313.5, half to even
  EXPECT_EQ(forms::TwipsToPixels(-150, 10), -15);
}

TEST(Twips, HugeValuesSaturateInsteadOfWrapping) {
  EXPECT_EQ(forms::TwipsToPixels(2147483647.0, 15), 143165576);
  int huge = forms::TwipsToPixels(1e15, 15);
  EXPECT_EQ(huge, forms::kMaxPixelCoordinate);
  EXPECT_EQ(forms::TwipsToPixels(-1e300, 15), -forms::kMaxPixelCoordinate);
  // Two saturated values still add up without overflow.
  EXPECT_GT(static_cast<long long>(huge) + huge, 0);
  EXPECT_LE(static_cast<long long>(huge) + huge, INT_MAX);
}

TEST(Twips, RoundToInt32HalvesToEvenAndSaturates) {
  EXPECT_EQ(forms::RoundToInt32(2.5), 2);
  EXPECT_EQ(forms::RoundToInt32(3.5), 4);
  EXPECT_EQ(forms::RoundToInt32(-2.5), -2);
  EXPECT_EQ(forms::RoundToInt32(-150.4), -150);
  EXPECT_EQ(forms::RoundToInt32(1e12), INT_MAX);
  EXPECT_EQ(forms::RoundToInt32(-1e12), INT_MIN);
}

TEST(SystemColor, HighBitSelectsSystemColour) {
  EXPECT_EQ(forms::ResolveColor(0x80000018u), GetSysColor(COLOR_INFOBK));
  EXPECT_EQ(forms::ResolveColor(0x00C00000u), RGB(0, 0, 0xC0));
}

TEST(Placement, WindowOutsideWorkAreaIsPulledIn) {
  RECT work{0, 0, 1000, 700};
  RECT distant{50000, 40000, 50250, 40300};
  RECT placed = forms::PlaceInWorkArea(distant, work);
  EXPECT_EQ(placed.left, 750);
  EXPECT_EQ(placed.top, 400);
  EXPECT_EQ(placed.right - placed.left, 250);
  EXPECT_EQ(placed.bottom - placed.top, 300);
  // Wider than the work area: the left edge stays reachable.
  RECT wide{5000, 10, 7000, 300};
  EXPECT_EQ(forms::PlaceInWorkArea(wide, work).left, 0);
  // A window on screen is left where it is.
  RECT onScreen{10, 20, 260, 320};
  RECT kept = forms::PlaceOnScreen(onScreen);
  EXPECT_TRUE(EqualRect(&kept, &onScreen));
  RECT offScreen{100000, 100000, 100250, 100300};
  RECT moved = forms::PlaceOnScreen(offScreen);
  EXPECT_NE(MonitorFromRect(&moved, MONITOR_DEFAULTTONULL), nullptr);
}

}  // namespace
