#include "skin/interaction/mouse_leave.h"

#include <commctrl.h>

#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"

namespace skin {
namespace {

BOOL TrackMouse(TRACKMOUSEEVENT* request) noexcept {
  return Engine().hasTrackMouseEvent ? TrackMouseEvent(request) : _TrackMouseEvent(request);
}

// False only when the thread's request is known to be elsewhere or gone.
bool LeaveRequestHeldBy(HWND window) noexcept {
  TRACKMOUSEEVENT query = {};
  query.cbSize = sizeof(query);
  query.dwFlags = TME_QUERY;
  if (!TrackMouse(&query)) return true;
  return query.hwndTrack == window && (query.dwFlags & TME_LEAVE) != 0;
}

}  // namespace

void TrackMouseLeave(HWND window) noexcept {
  TRACKMOUSEEVENT request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = window;
  request.dwHoverTime = 0;
  TrackMouse(&request);
}

void PostMouseLeave(HWND window) noexcept {
  MSG queued;
  if (!PeekMessageW(&queued, window, WM_MOUSELEAVE, WM_MOUSELEAVE, PM_NOREMOVE | PM_NOYIELD)) {
    PostMessageW(window, WM_MOUSELEAVE, 0, 0);
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
  // A request made just after the pointer went may be dropped without the
  // leave it is owed.
  if (!LeaveRequestHeldBy(window)) PostMouseLeave(window);
}

}  // namespace skin
