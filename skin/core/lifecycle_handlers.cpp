#include "skin/core/lifecycle_handlers.h"

#include "skin/core/control_kind.h"
#include "skin/core/skin_handler.h"
#include "skin/core/skin_window.h"
#include "skin/core/visual_state.h"
#include "skin/interaction/still_skinned.h"
#include "skin/render/button_painter.h"
#include "skin/render/button_state_surfaces.h"
#include "skin/render/combo_button_painter.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/window_bounds.h"

namespace skin {

LRESULT OnSkinActivate(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) noexcept {
  if (HWND other = reinterpret_cast<HWND>(lParam)) {
    if (GetParent(other) == window || ClassifyWindow(other) == ControlKind::Form) {
      SkinWindow(other);
    }
  }
  return PassOn(previous, window, message, wParam, lParam);
}

LRESULT OnSkinSize(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                   LPARAM lParam) noexcept {
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  // The window's own procedure may have destroyed it or taken the skin off.
  if (!StillSkinned(window)) return result;
  if (ClassifyWindow(window) == ControlKind::CommandButton) {
    WindowBounds bounds;
    GetWindowBounds(window, bounds);
    ResizeButtonStateSurfaces(window, bounds.width, bounds.height);
    RenderButtonStates(window);
    ShapeButtonRegion(window, bounds.width, bounds.height);
  }
  return result;
}

LRESULT OnSkinWindowPosChanging(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                                LPARAM lParam) noexcept {
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (!StillSkinned(window)) return result;
  const ControlKind kind = ClassifyWindow(window);
  if (kind == ControlKind::ComboBox || kind == ControlKind::DriveList) {
    VisualState state = VisualState::Normal;
    PaintComboButton(window, nullptr, state, false);
  }
  return result;
}

LRESULT OnSkinDestroy(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                      LPARAM lParam) noexcept {
  UnskinWindow(window);
  return PassOn(previous, window, message, wParam, lParam);
}

LRESULT OnSkinNcDestroy(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept {
  // Still skinned only when WM_DESTROY did not come through the skin (a
  // procedure over it kept it back): release the window now.
  UnskinWindow(window);
  return PassOn(previous, window, message, wParam, lParam);
}

LRESULT OnSkinNewWindow(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept {
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (lParam != 0) SkinWindow(reinterpret_cast<HWND>(lParam));
  return result;
}

}  // namespace skin
