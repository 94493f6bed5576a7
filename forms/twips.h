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

// Twips per pixel: from the DPI of the program's window once it has set one,
// else from the screen's (15 at 96 DPI).
double TwipsPerPixelX();
double TwipsPerPixelY();

// The window's own DPI (0: the screen's from then on).
void SetWindowDpi(int dpi);
int WindowDpi();
// The screen's DPI, as the system reports it to the program.
int ScreenDpi();

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
