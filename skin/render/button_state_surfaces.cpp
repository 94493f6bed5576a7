#include "skin/render/button_state_surfaces.h"

#include "skin/core/window_props.h"
#include "skin/render/button_image_sets.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"

namespace skin {
namespace {

HBITMAP StateBitmap(HWND window, int state) noexcept {
  return reinterpret_cast<HBITMAP>(
      GetSkinProp(window, StateSurfaceKey(state, StateSurface::Bitmap).c_str()));
}

void StoreStateBitmap(HWND window, int state, HBITMAP bitmap) noexcept {
  SetSkinProp(window, StateSurfaceKey(state, StateSurface::Bitmap).c_str(),
              reinterpret_cast<LONG_PTR>(bitmap));
}

}  // namespace

HDC ButtonStateSurface(HWND window, int state) noexcept {
  if (state < 0 || state >= kButtonStateCount) return nullptr;
  return reinterpret_cast<HDC>(
      GetSkinProp(window, StateSurfaceKey(state, StateSurface::DeviceContext).c_str()));
}

void CreateButtonStateSurfaces(HWND window, int width, int height) noexcept {
  ForgetButtonImages(window);
  for (int n = 0; n < kButtonStateCount; ++n) {
    HDC surface = CreateMemoryDC(width, height);
    HBITMAP bitmap =
        surface ? static_cast<HBITMAP>(GetCurrentObject(surface, OBJ_BITMAP)) : nullptr;
    // The properties own both from here until DeleteButtonStateSurfaces.
    if (surface) detail::CountGdiObject(2);
    SetSkinProp(window, StateSurfaceKey(n, StateSurface::DeviceContext).c_str(),
                reinterpret_cast<LONG_PTR>(surface));
    StoreStateBitmap(window, n, bitmap);
  }
}

void ResizeButtonStateSurfaces(HWND window, int width, int height) noexcept {
  ForgetButtonImages(window);
  for (int n = 0; n < kButtonStateCount; ++n) {
    HBITMAP fresh = CreateSurfaceBitmap(width, height);
    if (!fresh) continue;  // the surface keeps the bitmap it has
    detail::CountGdiObject(1);
    HDC surface = ButtonStateSurface(window, n);
    if (surface) SelectObject(surface, fresh);
    // The stored bitmap is the one the surface held (or, without a surface,
    // one selected nowhere); it is free to go now.
    if (HBITMAP stored = StateBitmap(window, n)) {
      DeleteObject(stored);
      detail::CountGdiObject(-1);
    }
    StoreStateBitmap(window, n, fresh);
  }
}

void DeleteButtonStateSurfaces(HWND window) noexcept {
  ForgetButtonImages(window);
  for (int n = 0; n < kButtonStateCount; ++n) {
    const std::wstring dcKey = StateSurfaceKey(n, StateSurface::DeviceContext);
    const std::wstring bitmapKey = StateSurfaceKey(n, StateSurface::Bitmap);
    HDC surface = reinterpret_cast<HDC>(GetSkinProp(window, dcKey.c_str()));
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(GetSkinProp(window, bitmapKey.c_str()));
    // The context goes first: a bitmap still selected cannot be deleted.
    if (surface) {
      DeleteDC(surface);
      detail::CountGdiObject(-1);
    }
    if (bitmap) {
      DeleteObject(bitmap);
      detail::CountGdiObject(-1);
    }
    RemoveSkinProp(window, dcKey.c_str());
    RemoveSkinProp(window, bitmapKey.c_str());
  }
}

}  // namespace skin
