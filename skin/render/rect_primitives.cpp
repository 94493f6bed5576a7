#include "skin/render/rect_primitives.h"

namespace skin {
namespace {
RECT ToRect(int x, int y, int width, int height) noexcept {
  return RECT{x, y, x + width, y + height};
}

// The device context's own brush in `colour` for one call, so that no brush
// is made per rectangle; the context's brush colour is put back after.
class DcBrush {
 public:
  DcBrush(HDC dc, COLORREF colour) noexcept : dc_(dc), previous_(SetDCBrushColor(dc, colour)) {}
  ~DcBrush() {
    if (previous_ != CLR_INVALID) SetDCBrushColor(dc_, previous_);
  }
  DcBrush(const DcBrush&) = delete;
  DcBrush& operator=(const DcBrush&) = delete;
  HBRUSH get() const noexcept { return static_cast<HBRUSH>(GetStockObject(DC_BRUSH)); }

 private:
  HDC dc_;
  COLORREF previous_;
};
}  // namespace

int FillSolidRect(HDC dc, int x, int y, int width, int height, COLORREF colour) noexcept {
  const RECT rect = ToRect(x, y, width, height);
  const DcBrush brush(dc, colour);
  return FillRect(dc, &rect, brush.get());
}

int FrameSolidRect(HDC dc, int x, int y, int width, int height, COLORREF colour) noexcept {
  const RECT rect = ToRect(x, y, width, height);
  const DcBrush brush(dc, colour);
  return FrameRect(dc, &rect, brush.get());
}

BOOL DrawFocusFrame(HDC dc, int x, int y, int width, int height) noexcept {
  const RECT rect = ToRect(x, y, width, height);
  return DrawFocusRect(dc, &rect);
}

}  // namespace skin
