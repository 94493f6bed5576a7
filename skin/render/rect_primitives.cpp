#include "skin/render/rect_primitives.h"

#include "skin/render/gdi_handles.h"

namespace skin {
namespace {
RECT ToRect(int x, int y, int width, int height) noexcept {
  return RECT{x, y, x + width, y + height};
}
}  // namespace

int FillSolidRect(HDC dc, int x, int y, int width, int height, COLORREF colour) noexcept {
  const RECT rect = ToRect(x, y, width, height);
  OwnedBrush brush(CreateSolidBrush(colour));
  return FillRect(dc, &rect, brush.get());
}

int FrameSolidRect(HDC dc, int x, int y, int width, int height, COLORREF colour) noexcept {
  const RECT rect = ToRect(x, y, width, height);
  OwnedBrush brush(CreateSolidBrush(colour));
  return FrameRect(dc, &rect, brush.get());
}

BOOL DrawFocusFrame(HDC dc, int x, int y, int width, int height) noexcept {
  const RECT rect = ToRect(x, y, width, height);
  return DrawFocusRect(dc, &rect);
}

}  // namespace skin
