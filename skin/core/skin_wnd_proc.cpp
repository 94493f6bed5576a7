#include "skin/core/skin_wnd_proc.h"

#include "skin/core/lifecycle_handlers.h"
#include "skin/core/nc_paint.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_step.h"
#include "skin/interaction/focus_enable_handlers.h"
#include "skin/interaction/key_handlers.h"
#include "skin/interaction/mouse_handlers.h"
#include "skin/interaction/sibling_refresh.h"
#include "skin/render/paint_handler.h"

namespace skin {
namespace {

// The skin is off the window but another procedure installed over it still
// calls this one: hand everything to the procedure the skin had found. Once
// SkinWndProc is the window's procedure again it steps out of the chain.
LRESULT PassThrough(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  const LONG_PTR next = GetSkinProp(window, prop::kPassProc);
  if (next == 0) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY ||
      GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinWndProc)) {
    RemoveSkinProp(window, prop::kPassProc);
    if (message != WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_WNDPROC, next);
  }
  return CallWindowProcW(reinterpret_cast<WNDPROC>(next), window, message, wParam, lParam);
}

}  // namespace

SkinHandler SkinHandlerFor(UINT message) noexcept {
  switch (message) {
    case WM_DESTROY:
      return &OnSkinDestroy;
    case WM_NCDESTROY:
      return &OnSkinNcDestroy;
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
    case WM_SETFOCUS:
      return &OnSkinSetFocus;
    case WM_KILLFOCUS:
      return &OnSkinKillFocus;
    case WM_ENABLE:
      return &OnSkinEnable;
    case WM_KEYDOWN:
      return &OnSkinKeyDown;
    case WM_KEYUP:
      return &OnSkinKeyUp;
    case WM_TIMER:
      return &OnSkinTimer;
    case WM_MOUSEMOVE:
      return &OnSkinMouseMove;
    case WM_LBUTTONDOWN:
      return &OnSkinLButtonDown;
    case WM_LBUTTONUP:
      return &OnSkinLButtonUpAndRefreshSiblings;
    case WM_LBUTTONDBLCLK:
      return &OnSkinLButtonDblClk;
    case WM_MOUSELEAVE:
      return &OnSkinMouseLeave;
    case WM_MOUSEHOVER:
      return &OnSkinMouseHover;
    default:
      return &PassOn;
  }
}

LRESULT CALLBACK SkinWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (!window) return 0;
  const auto previous = reinterpret_cast<WNDPROC>(GetSkinProp(window, prop::kProcAddr));
  const LRESULT result = previous ? SkinHandlerFor(message)(previous, window, message, wParam, lParam)
                                  : PassThrough(window, message, wParam, lParam);
  // The handle may soon name another window.
  if (message == WM_NCDESTROY) ForgetSkinProps(window);
  return result;
}

}  // namespace skin
