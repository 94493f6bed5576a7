#include "forms/screen.h"

#include <algorithm>

namespace forms {

RECT PlaceInWorkArea(const RECT& window, const RECT& workArea) {
  long long width = static_cast<long long>(window.right) - window.left;
  long long height = static_cast<long long>(window.bottom) - window.top;
  long long left = std::max<long long>(workArea.left,
                                       std::min<long long>(window.left, workArea.right - width));
  long long top = std::max<long long>(workArea.top,
                                      std::min<long long>(window.top, workArea.bottom - height));
  RECT placed;
  placed.left = static_cast<LONG>(left);
  placed.top = static_cast<LONG>(top);
  placed.right = static_cast<LONG>(left + width);
  placed.bottom = static_cast<LONG>(top + height);
  return placed;
}

RECT PlaceOnScreen(const RECT& window) {
  if (MonitorFromRect(&window, MONITOR_DEFAULTTONULL)) return window;
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return PlaceInWorkArea(window, work);
}

RECT RestoredWindowRect(HWND hwnd) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT rect{};
  if (!GetWindowPlacement(hwnd, &placement)) {
    GetWindowRect(hwnd, &rect);
    return rect;
  }
  rect = placement.rcNormalPosition;
  // The normal rectangle is in work-area coordinates unless the window is a
  // tool window; shift it by the work area's offset on its monitor.
  if (!(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &info)) {
      OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left,
                 info.rcWork.top - info.rcMonitor.top);
    }
  }
  return rect;
}

}  // namespace forms
