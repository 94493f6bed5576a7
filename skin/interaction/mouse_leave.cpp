#include "skin/interaction/mouse_leave.h"

#include <commctrl.h>

#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"

namespace skin {

void TrackMouseLeave(HWND window) noexcept {
  TRACKMOUSEEVENT request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = window;
  request.dwHoverTime = 0;
  if (Engine().hasTrackMouseEvent) {
    TrackMouseEvent(&request);
  } else {
    _TrackMouseEvent(&request);
  }
}

void ArmMouseLeave(HWND window) noexcept {
  if (GetSkinProp(window, prop::kMouseFlag) != 0) return;
  SetSkinProp(window, prop::kMouseFlag, 1);
  // A thread tracks one window's leave at a time: this request cancels the
  // one of the window entered before, whose leave might then never come.
  HWND earlier = Engine().leaveTracked;
  Engine().leaveTracked = window;
  if (earlier && earlier != window && IsWindow(earlier) && GetSkinProp(earlier, prop::kMouseFlag) != 0) {
    SendMessageW(earlier, WM_MOUSELEAVE, 0, 0);
  }
  TrackMouseLeave(window);
}

}  // namespace skin
