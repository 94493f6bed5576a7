#include "skin/render/memory_dc.h"

#include "skin/render/gdi_handles.h"

namespace skin {

HDC CreateMemoryDC(int width, int height) noexcept {
  OwnedDC display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
  if (!display) return nullptr;
  OwnedDC memory(CreateCompatibleDC(display.get()));
  if (!memory) return nullptr;
  OwnedBitmap bitmap(CreateCompatibleBitmap(display.get(), width, height));
  if (!bitmap) return nullptr;
  // The initial stock bitmap comes back; deleting a stock object does nothing.
  DeleteObject(SelectObject(memory.get(), bitmap.release()));
  return memory.release();
}

}  // namespace skin
