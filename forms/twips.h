#pragma once
// Twips (1/1440 inch) and their conversion to and from screen pixels.
// Conversions saturate: a huge twip value gives a huge but valid pixel value
// that can still be added to another coordinate without overflowing.

#include <windows.h>

namespace forms {

struct TwipsRect {
  double left = 0, top = 0, width = 0, height = 0;
};

enum class ScaleMode { Twips = 1, Pixels = 3 };

// Twips per pixel of the screen, from its DPI (15 at 96 DPI).
double TwipsPerPixelX();
double TwipsPerPixelY();

// Largest pixel magnitude a conversion yields (a quarter of the int range).
constexpr int kMaxPixelCoordinate = 0x1FFFFFFF;

// Nearest pixel for a length in twips, halves to even, saturated.
int TwipsToPixels(double twips, double twipsPerPixel);
double PixelsToTwips(int pixels, double twipsPerPixel);

int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// A pixel rectangle in twips and back (negative sizes become 0).
TwipsRect ToTwips(const RECT& pixels);
RECT ToPixels(const TwipsRect& twips);

// A real number rounded to the nearest 32-bit integer, halves to even, saturated.
int RoundToInt32(double value);

}  // namespace forms
