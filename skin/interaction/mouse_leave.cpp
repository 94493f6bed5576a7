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
  TrackMouseLeave(window);
}

}  // namespace skin
