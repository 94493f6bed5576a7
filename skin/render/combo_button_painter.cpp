#include "skin/render/combo_button_painter.h"

#include "forms/dpi_metrics.h"
#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/round_half_even.h"
#include "skin/render/skin_colours.h"
#include "skin/render/stretch_skin_image.h"
#include "skin/render/target_surface.h"
#include "skin/render/transparent_blit.h"
#include "skin/render/window_bounds.h"

namespace skin {
namespace {

// CBS_DROPDOWN and CBS_DROPDOWNLIST have this bit; CBS_SIMPLE has no button.
constexpr LONG_PTR kHasButtonStyle = 2;

}  // namespace

void PaintComboButton(HWND window, HDC surface, VisualState& state, bool force) noexcept {
  if (SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0) state = VisualState::Pressed;
  if (!force && GetSkinProp(window, prop::kOldState) == static_cast<LONG_PTR>(state)) return;
  if ((GetWindowLongPtrW(window, GWL_STYLE) & kHasButtonStyle) == 0) return;
  SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(state));

  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  const int bw = forms::WindowMetric(window, SM_CXVSCROLL) + 1;
  const int bh = bounds.height - 2;
  const SkinImages& images = Engine().images;

  OwnedMemoryDC button(CreateMemoryDC(bw, bh));
  if (state == VisualState::Hot || state == VisualState::Pressed) {
    const int faceX = state == VisualState::Hot ? 0 : kComboFaceWidth;
    StretchSkinImage(button.get(), {0, 0, bw, bh}, images.comboButton,
                     {faceX, 0, kComboFaceWidth, kComboFaceHeight}, {2, 1, 1, 1});
  } else {
    FillSolidRect(button.get(), 0, 0, bw, bh, kWhite);
  }
  const int arrowY = IsWindowEnabled(window) ? 0 : kComboArrowHeight;
  TransparentBlit(button.get(), RoundHalfEven((bw - kComboArrowWidth) / 2.0),
                  RoundHalfEven((bounds.height - 6) / 2.0), kComboArrowWidth, kComboArrowHeight,
                  images.comboButton, 8, arrowY, TransparentKey);

  TargetSurface target(window, surface);
  BitBlt(target.get(), bounds.width - bw - 1, 1, bw, bh, button.get(), 0, 0, SRCCOPY);
}

}  // namespace skin
