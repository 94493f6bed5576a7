#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

// Colour value of a pixel-table entry written red first (0xRRGGBB).
constexpr COLORREF FromRgb(std::uint32_t rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

// A memory surface owned by the test, released with the object.
class TestSurface {
 public:
  TestSurface(int width, int height, COLORREF fill);
  TestSurface(const TestSurface&) = delete;
  TestSurface& operator=(const TestSurface&) = delete;
  ~TestSurface();
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  void Set(int x, int y, COLORREF colour) { SetPixelV(dc_, x, y, colour); }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_;
  int height_;
};

// All pixels of a w x h block, row by row.
std::vector<COLORREF> ReadBlock(HDC dc, int x, int y, int width, int height);

// A surface whose every pixel has its own colour (none is magenta).
void PaintDistinctPixels(TestSurface& surface);

// Size of the bitmap selected into a surface.
SIZE SurfaceSize(HDC dc);
