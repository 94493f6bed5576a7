#include "skin/render/button_painter.h"

#include <string>

#include "skin/core/engine_state.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/render/button_state_surfaces.h"
#include "skin/render/caption_text.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/skin_colours.h"
#include "skin/render/stretch_skin_image.h"
#include "skin/render/target_surface.h"
#include "skin/render/window_bounds.h"

namespace skin {
namespace {

std::wstring CaptionOrEmpty(HWND window) noexcept {
  try {
    return GetWindowCaption(window);
  } catch (...) {
    return std::wstring();
  }
}

}  // namespace

void RenderButtonStates(HWND window) noexcept {
  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  const int w = bounds.width;
  const int h = bounds.height;
  const std::wstring caption = CaptionOrEmpty(window);
  const bool focused = GetFocus() == window;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  HDC faces = Engine().images.buttonFace;

  for (int n = 0; n < kButtonStateCount; ++n) {
    HDC surface = ButtonStateSurface(window, n);
    if (!surface) continue;
    ScopedSelection useFont(surface, font);
    SetBkMode(surface, TRANSPARENT);
    StretchSkinImage(surface, {0, 0, w, h}, faces, {0, kButtonFaceHeight * n, kButtonFaceWidth,
                                                    kButtonFaceHeight},
                     {3, 3, 3, 3});
    SetTextColor(surface, n == static_cast<int>(VisualState::Disabled) ? kDisabledCaptionColour
                                                                        : kCaptionColour);
    DrawCaptionText(surface, caption, 2, 2, w - 4, h - 4);
    if (focused) DrawFocusFrame(surface, 2, 2, w - 4, h - 4);
  }
}

void ShapeButtonRegion(HWND window, int width, int height) noexcept {
  HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, 3, 3);
  // On success the system owns the region and frees it when it is replaced.
  if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
}

int PaintButtonBlend(HWND window, HDC surface) noexcept {
  if (!IsWindowEnabled(window)) {
    SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(VisualState::Disabled));
  }
  if (!IsSkinDrawnButtonStyle(GetSkinProp(window, prop::kOldStyle))) return 0;

  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  const LONG_PTR state = GetSkinProp(window, prop::kOldState);
  const LONG_PTR alpha = GetSkinProp(window, prop::kAlphaLevel);
  HDC source = ButtonStateSurface(window, static_cast<int>(state));
  if (!source) return 0;

  TargetSurface target(window, surface);
  BLENDFUNCTION blend = {};
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
  AlphaBlend(target.get(), 0, 0, bounds.width, bounds.height, source, 0, 0, bounds.width,
             bounds.height, blend);
  return 0;
}

}  // namespace skin
