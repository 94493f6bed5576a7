#include "skin/interaction/key_handlers.h"

#include "skin/core/control_kind.h"
#include "skin/core/skin_handler.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/button_faces.h"
#include "skin/interaction/own_repaint_request.h"
#include "skin/interaction/still_skinned.h"

namespace skin {

LRESULT OnSkinKeyDown(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept {
  const ControlKind kind = ClassifyWindow(window);
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (wParam != VK_SPACE || !StillSkinned(window)) return result;
  switch (kind) {
    case ControlKind::CommandButton:
      ShowPressedFace(window);
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      PaintCheckOrOption(window, kind, VisualState::Pressed, false);
      break;
    default:
      break;
  }
  return result;
}

LRESULT OnSkinKeyUp(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                    LPARAM lParam) noexcept {
  const ControlKind kind = ClassifyWindow(window);
  OwnRepaintRequest own(window);
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (wParam != VK_SPACE || !StillSkinned(window)) return result;
  switch (kind) {
    case ControlKind::CommandButton:
      SetSkinProp(window, prop::kMouseFlag, 0);
      FadeTo(window, VisualState::Normal, 0);
      own.Drop();
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      PaintCheckOrOption(window, kind, VisualState::Normal, false);
      break;
    default:
      break;
  }
  return result;
}

}  // namespace skin
