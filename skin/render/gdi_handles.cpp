#include "skin/render/gdi_handles.h"

#include "skin/render/memory_dc.h"

namespace skin {
namespace {
long g_liveGdiObjects = 0;  // UI thread only
}  // namespace

long LiveGdiObjects() noexcept { return g_liveGdiObjects; }

void detail::CountGdiObject(long delta) noexcept { g_liveGdiObjects += delta; }

void detail::DeleteMemoryDcPolicy::Close(HDC surface) noexcept { DeleteMemoryDC(surface); }

BorrowedWindowDC::BorrowedWindowDC(HWND window, Area area) noexcept
    : window_(window), dc_(area == Area::Window ? GetWindowDC(window) : GetDC(window)) {
  if (dc_) detail::CountGdiObject(1);
}

BorrowedWindowDC::~BorrowedWindowDC() {
  if (dc_) {
    ReleaseDC(window_, dc_);
    detail::CountGdiObject(-1);
  }
}

ScopedPalette::ScopedPalette(HDC dc, HPALETTE palette, bool restoreInBackground) noexcept
    : dc_(dc), previous_(nullptr), restoreInBackground_(restoreInBackground) {
  if (dc_ && palette) {
    previous_ = SelectPalette(dc_, palette, TRUE);
    RealizePalette(dc_);
  }
}

ScopedPalette::~ScopedPalette() {
  if (previous_) {
    SelectPalette(dc_, previous_, restoreInBackground_ ? TRUE : FALSE);
    RealizePalette(dc_);
  }
}

}  // namespace skin
