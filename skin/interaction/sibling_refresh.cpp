#include "skin/interaction/sibling_refresh.h"

#include "skin/core/control_kind.h"
#include "skin/core/engine_state.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/button_faces.h"
#include "skin/interaction/mouse_handlers.h"

namespace skin {

BOOL CALLBACK RefreshOptionSiblingsProc(HWND window, LPARAM) noexcept {
  if (GetSkinProp(window, prop::kProcAddr) == 0) return TRUE;
  PaintCheckOrOption(window, ClassifyWindow(window), VisualState::Normal, true);
  return TRUE;
}

LRESULT OnSkinLButtonUpAndRefreshSiblings(WNDPROC previous, HWND window, UINT message,
                                          WPARAM wParam, LPARAM lParam) noexcept {
  const LRESULT result = OnSkinLButtonUp(previous, window, message, wParam, lParam);
  // Listing every descendant costs a round trip per window: skipped while
  // no check box or option button carries the skin.
  if (Engine().skinnedChoiceCount == 0) return result;
  HWND parent = GetParent(window);
  if (!parent) parent = window;
  EnumChildWindows(parent, RefreshOptionSiblingsProc, 0);
  return result;
}

}  // namespace skin
