#pragma once
#include <windows.h>

#include <optional>

#include "skin/render/gdi_handles.h"

namespace skin {

// The surface a painter draws on: the one its caller handed over, or else the
// window's whole-window surface, borrowed here and released with the object.
class TargetSurface {
 public:
  TargetSurface(HWND window, HDC given) noexcept : dc_(given) {
    if (!dc_) dc_ = borrowed_.emplace(window).get();
  }
  TargetSurface(const TargetSurface&) = delete;
  TargetSurface& operator=(const TargetSurface&) = delete;

  HDC get() const noexcept { return dc_; }

 private:
  std::optional<BorrowedWindowDC> borrowed_;
  HDC dc_;
};

}  // namespace skin
