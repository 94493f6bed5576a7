#pragma once
// Twips (1/1440 inch) and their conversion to and from screen pixels.
// Conversions saturate: a huge twip value gives a huge but valid pixel value
// that can still be added to another coordinate without overflowing.

namespace forms {

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

// A real number rounded to the nearest 32-bit integer, halves to even, saturated.
int RoundToInt32(double value);

}  // namespace forms
