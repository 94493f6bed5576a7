#include "skin/render/memory_dc.h"

#include "skin/render/gdi_handles.h"

namespace skin {

HDC CreateMemoryDC(int width, int height) noexcept {
  // The screen's surface is borrowed from the system's cache: creating a
  // display context for every surface costs more than the surface itself.
  BorrowedWindowDC display(nullptr, BorrowedWindowDC::Area::Client);
  if (!display) return nullptr;
  OwnedDC memory(CreateCompatibleDC(display.get()));
  if (!memory) return nullptr;
  OwnedBitmap bitmap(CreateCompatibleBitmap(display.get(), width, height));
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
