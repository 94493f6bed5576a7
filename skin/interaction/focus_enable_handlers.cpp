#include "skin/interaction/focus_enable_handlers.h"

#include "skin/core/control_kind.h"
#include "skin/core/skin_handler.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/interaction/own_repaint_request.h"
#include "skin/interaction/still_skinned.h"
#include "skin/render/button_painter.h"
#include "skin/render/check_option_painters.h"

namespace skin {

LRESULT OnSkinSetFocus(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) noexcept {
  const ControlKind kind = ClassifyWindow(window);
  OwnRepaintRequest own(window);
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (!StillSkinned(window)) return result;
  if (kind == ControlKind::CommandButton) {
    own.Drop();  // its own focus repaint would end the fade at once
    RenderButtonStates(window);
    SetSkinProp(window, prop::kAlphaLevel, 0);
    StartFadeTimer(window);
  } else if (kind == ControlKind::OptionButton) {
    PaintOptionButton(window, VisualState::Normal, true);
  }
  return result;
}

LRESULT OnSkinKillFocus(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept {
  return OnSkinSetFocus(previous, window, message, wParam, lParam);
}

LRESULT OnSkinEnable(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                     LPARAM lParam) noexcept {
  const ControlKind kind = ClassifyWindow(window);
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (kind == ControlKind::CommandButton && StillSkinned(window)) {
    SetSkinProp(window, prop::kOldState,
                static_cast<LONG_PTR>(wParam ? VisualState::Normal : VisualState::Disabled));
    PaintButtonBlend(window, nullptr);
  }
  return result;
}

}  // namespace skin
