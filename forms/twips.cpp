#include "forms/twips.h"

#include <windows.h>

#include <cmath>
#include <limits>

namespace forms {
namespace {

int windowDpi = 0;

int ScreenDpiFor(int capability) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, capability) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

double TwipsPerPixelFor(int capability) {
  int dpi = windowDpi > 0 ? windowDpi : ScreenDpiFor(capability);
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}

double RoundHalfEvenSaturated(double value, double limit) {
  if (std::isnan(value)) return 0;
  if (value >= limit) return limit;
  if (value <= -limit) return -limit;
  double floor = std::floor(value);
  double diff = value - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

}  // namespace

void SetWindowDpi(int dpi) { windowDpi = dpi > 0 ? dpi : 0; }
int WindowDpi() { return windowDpi > 0 ? windowDpi : ScreenDpi(); }
int ScreenDpi() {
  int dpi = ScreenDpiFor(LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

double TwipsPerPixelX() { return TwipsPerPixelFor(LOGPIXELSX); }
double TwipsPerPixelY() { return TwipsPerPixelFor(LOGPIXELSY); }

int TwipsToPixels(double twips, double twipsPerPixel) {
  return static_cast<int>(RoundHalfEvenSaturated(twips / twipsPerPixel, kMaxPixelCoordinate));
}

double PixelsToTwips(int pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

int TwipsToPixelsX(double twips) { return TwipsToPixels(twips, TwipsPerPixelX()); }
int TwipsToPixelsY(double twips) { return TwipsToPixels(twips, TwipsPerPixelY()); }

TwipsRect ToTwips(const RECT& pixels) {
  double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  return {PixelsToTwips(pixels.left, tx), PixelsToTwips(pixels.top, ty),
          PixelsToTwips(pixels.right - pixels.left, tx),
          PixelsToTwips(pixels.bottom - pixels.top, ty)};
}

RECT ToPixels(const TwipsRect& twips) {
  RECT r;
  r.left = TwipsToPixelsX(twips.left);
  r.top = TwipsToPixelsY(twips.top);
  r.right = r.left + TwipsToPixelsX(twips.width < 0 ? 0 : twips.width);
  r.bottom = r.top + TwipsToPixelsY(twips.height < 0 ? 0 : twips.height);
  return r;
}

int RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (value <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(RoundHalfEvenSaturated(value, 4294967296.0));
}

}  // namespace forms
