#pragma once
#include <windows.h>

#include <utility>

namespace skin {

// Number of GDI objects (device contexts, bitmaps, brushes, palettes) the
// wrappers below currently own. It returns to its old value once every
// wrapper made in between has gone, which is what leak tests check.
long LiveGdiObjects() noexcept;

namespace detail {
void CountGdiObject(long delta) noexcept;
struct DeleteDcPolicy {
  static void Close(HDC dc) noexcept { DeleteDC(dc); }
};
struct DeleteMemoryDcPolicy {
  static void Close(HDC surface) noexcept;
};
struct DeleteObjectPolicy {
  static void Close(HGDIOBJ object) noexcept { DeleteObject(object); }
};
}  // namespace detail

// Sole owner of one GDI handle, closed with the policy's call.
template <typename Handle, typename Policy>
class OwnedGdiHandle {
 public:
  OwnedGdiHandle() noexcept = default;
  explicit OwnedGdiHandle(Handle handle) noexcept : handle_(handle) {
    if (handle_) detail::CountGdiObject(1);
  }
  OwnedGdiHandle(const OwnedGdiHandle&) = delete;
  OwnedGdiHandle& operator=(const OwnedGdiHandle&) = delete;
  OwnedGdiHandle(OwnedGdiHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  OwnedGdiHandle& operator=(OwnedGdiHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~OwnedGdiHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // Gives the handle up without closing it.
  Handle release() noexcept {
    if (handle_) detail::CountGdiObject(-1);
    return std::exchange(handle_, nullptr);
  }
  void reset(Handle handle = nullptr) noexcept {
    if (handle_) {
      Policy::Close(handle_);
      detail::CountGdiObject(-1);
    }
    handle_ = handle;
    if (handle_) detail::CountGdiObject(1);
  }

 private:
  Handle handle_ = nullptr;
};

using OwnedDC = OwnedGdiHandle<HDC, detail::DeleteDcPolicy>;
// A surface made by CreateMemoryDC, deleted with its bitmap.
using OwnedMemoryDC = OwnedGdiHandle<HDC, detail::DeleteMemoryDcPolicy>;
using OwnedBitmap = OwnedGdiHandle<HBITMAP, detail::DeleteObjectPolicy>;
using OwnedBrush = OwnedGdiHandle<HBRUSH, detail::DeleteObjectPolicy>;
using OwnedPalette = OwnedGdiHandle<HPALETTE, detail::DeleteObjectPolicy>;

// A window's whole-window (GetWindowDC) or client (GetDC) surface, released
// with ReleaseDC.
class BorrowedWindowDC {
 public:
  enum class Area { Window, Client };
  explicit BorrowedWindowDC(HWND window, Area area = Area::Window) noexcept;
  BorrowedWindowDC(const BorrowedWindowDC&) = delete;
  BorrowedWindowDC& operator=(const BorrowedWindowDC&) = delete;
  ~BorrowedWindowDC();

  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a surface and puts the previous one back on scope exit.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Selects and realises a palette; on scope exit the previous palette is
// selected back (as a background palette when restoreInBackground) and realised.
class ScopedPalette {
 public:
  ScopedPalette(HDC dc, HPALETTE palette, bool restoreInBackground) noexcept;
  ScopedPalette(const ScopedPalette&) = delete;
  ScopedPalette& operator=(const ScopedPalette&) = delete;
  ~ScopedPalette();

 private:
  HDC dc_;
  HPALETTE previous_;
  bool restoreInBackground_;
};

}  // namespace skin
