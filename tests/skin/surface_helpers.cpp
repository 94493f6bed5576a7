#include "surface_helpers.h"

TestSurface::TestSurface(int width, int height, COLORREF fill) : width_(width), height_(height) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  previous_ = SelectObject(dc_, bitmap_);
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc_, &all, brush);
  DeleteObject(brush);
}

TestSurface::~TestSurface() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

std::vector<COLORREF> ReadBlock(HDC dc, int x, int y, int width, int height) {
  std::vector<COLORREF> pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) pixels.push_back(GetPixel(dc, x + col, y + row));
  }
  return pixels;
}

void PaintDistinctPixels(TestSurface& surface) {
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x) {
      surface.Set(x, y, RGB(10 + 3 * x, 20 + 5 * y, 7 * x + 11 * y));
    }
  }
}

SIZE SurfaceSize(HDC dc) {
  BITMAP info = {};
  GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof(info), &info);
  return SIZE{info.bmWidth, info.bmHeight};
}
