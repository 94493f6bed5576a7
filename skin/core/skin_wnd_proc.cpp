#include "skin/core/skin_wnd_proc.h"

#include "skin/core/lifecycle_handlers.h"
#include "skin/core/nc_paint.h"
#include "skin/core/window_props.h"
#include "skin/render/paint_handler.h"

namespace skin {

SkinHandler SkinHandlerFor(UINT message) noexcept {
  switch (message) {
    case WM_DESTROY:
      return &OnSkinDestroy;
    case WM_SIZE:
      return &OnSkinSize;
    case WM_ACTIVATE:
      return &OnSkinActivate;
    case WM_PAINT:
      return &OnSkinPaint;
    case WM_WINDOWPOSCHANGING:
      return &OnSkinWindowPosChanging;
    case WM_NCPAINT:
      return &OnSkinNcPaint;
    case WM_ENTERIDLE:
    case WM_CTLCOLORLISTBOX:
      return &OnSkinNewWindow;
    // Visual states under input, focus and enable changes, and the fade
    // steps; until those handlers exist the controls behave as before.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_TIMER:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSELEAVE:
      return &PassOn;
    default:
      return &PassOn;
  }
}

LRESULT CALLBACK SkinWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (!window) return 0;
  const auto previous = reinterpret_cast<WNDPROC>(GetSkinProp(window, prop::kProcAddr));
  if (!previous) return DefWindowProcW(window, message, wParam, lParam);
  return SkinHandlerFor(message)(previous, window, message, wParam, lParam);
}

}  // namespace skin
