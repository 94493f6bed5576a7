#include "skin/render/memory_dc.h"

#include "skin/render/gdi_handles.h"

namespace skin {

HBITMAP CreateSurfaceBitmap(int width, int height) noexcept {
  // As for a compatible bitmap: an empty one is a 1 x 1 monochrome bitmap.
  if (width == 0 || height == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  if (width < 0 || height < 0) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

HDC CreateMemoryDC(int width, int height) noexcept {
  OwnedDC memory(CreateCompatibleDC(nullptr));
  if (!memory) return nullptr;
  OwnedBitmap bitmap(CreateSurfaceBitmap(width, height));
  if (!bitmap) return nullptr;
  // The initial stock bitmap comes back; deleting a stock object does nothing.
  DeleteObject(SelectObject(memory.get(), bitmap.release()));
  return memory.release();
}

void DeleteMemoryDC(HDC surface) noexcept {
  if (!surface) return;
  // A bitmap cannot be deleted while selected, and DeleteDC does not delete
  // it: delete the context first, then the bitmap it held.
  HGDIOBJ bitmap = GetCurrentObject(surface, OBJ_BITMAP);
  DeleteDC(surface);
  if (bitmap) DeleteObject(bitmap);
}

}  // namespace skin
