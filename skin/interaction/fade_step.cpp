#include "skin/interaction/fade_step.h"

#include "skin/core/control_kind.h"
#include "skin/core/skin_handler.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/interaction/hit_tests.h"
#include "skin/interaction/mouse_leave.h"
#include "skin/render/button_painter.h"

namespace skin {

LRESULT OnSkinTimer(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) noexcept {
  if (ClassifyWindow(window) == ControlKind::CommandButton) {
    const LONG_PTR level = GetSkinProp(window, prop::kAlphaLevel);
    PaintButtonBlendAt(window, nullptr, level);
    const LONG_PTR next = level + kFadeStep;
    if (next > kFadeTopLevel) {
      StopFadeTimer(window);
      SetSkinProp(window, prop::kAlphaLevel, 0);
      // A leave the system failed to report (its one request per thread
      // went elsewhere) is made up for once the fade is done.
      if (GetSkinProp(window, prop::kMouseFlag) != 0 && !IsUnderCursor(window)) {
        PostMouseLeave(window);
      }
    } else {
      SetSkinProp(window, prop::kAlphaLevel, next);
    }
  }
  return PassOn(previous, window, message, wParam, lParam);
}

}  // namespace skin
