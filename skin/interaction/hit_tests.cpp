#include "skin/interaction/hit_tests.h"

#include <commctrl.h>

#include "forms/dpi_metrics.h"
#include "skin/render/window_bounds.h"

namespace skin {

int GetLParamX(LPARAM lParam) noexcept {
  return static_cast<short>(static_cast<WORD>(static_cast<DWORD_PTR>(lParam) & 0xFFFF));
}

int GetLParamY(LPARAM lParam) noexcept {
  return static_cast<short>(static_cast<WORD>((static_cast<DWORD_PTR>(lParam) >> 16) & 0xFFFF));
}

int HitTestHeaderItem(HWND header, int x) noexcept {
  const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item = {};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    if (item.left <= x && x <= item.right) return i;
  }
  return -1;
}

bool InComboButtonZone(int width, int height, int scrollWidth, int x, int y) noexcept {
  return width - scrollWidth - 2 <= x && x <= width - 2 && 2 <= y && y <= height - 2;
}

bool HitTestComboButton(HWND combo, int x, int y) noexcept {
  WindowBounds bounds;
  GetWindowBounds(combo, bounds);
  return InComboButtonZone(bounds.width, bounds.height, forms::WindowMetric(combo, SM_CXVSCROLL),
                           x, y);
}

bool IsUnderCursor(HWND window) noexcept {
  POINT cursor = {};
  GetCursorPos(&cursor);
  return WindowFromPoint(cursor) == window;
}

}  // namespace skin
