#include "skin/render/button_painter.h"

#include <string>

#include "skin/core/engine_state.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/render/button_image_sets.h"
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

// Copies the four images from another button holding the same set; false
// when there is none or a surface is missing.
bool CopyButtonImages(HWND window, const ButtonImageSet& set) noexcept {
  const HWND source = FindButtonImageSource(set, window);
  if (!source) return false;
  HDC from[kButtonStateCount];
  HDC to[kButtonStateCount];
  for (int n = 0; n < kButtonStateCount; ++n) {
    from[n] = ButtonStateSurface(source, n);
    to[n] = ButtonStateSurface(window, n);
    if (!from[n] || !to[n]) return false;
  }
  for (int n = 0; n < kButtonStateCount; ++n) {
    BitBlt(to[n], 0, 0, set.width, set.height, from[n], 0, 0, SRCCOPY);
  }
  NoteButtonImages(window, set);
  return true;
}

// Blends the cached image of `state` over the button at opacity `alpha`.
int BlendStateImage(HWND window, HDC surface, LONG_PTR state, LONG_PTR alpha) noexcept;

}  // namespace

void RenderButtonStates(HWND window) noexcept {
  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  ButtonImageSet set;
  set.width = bounds.width;
  set.height = bounds.height;
  set.caption = CaptionOrEmpty(window);
  set.font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  set.focused = GetFocus() == window;
  if (CopyButtonImages(window, set)) return;
  const int w = set.width;
  const int h = set.height;
  ButtonImageSet plain = set;
  plain.focused = false;
  if (set.focused && CopyButtonImages(window, plain)) {
    // The focus frame is drawn last: on the plain images, in the same context
    // state, it gives the focused ones.
    for (int n = 0; n < kButtonStateCount; ++n) {
      HDC surface = ButtonStateSurface(window, n);
      SetBkMode(surface, TRANSPARENT);
      SetTextColor(surface, n == static_cast<int>(VisualState::Disabled) ? kDisabledCaptionColour
                                                                          : kCaptionColour);
      DrawFocusFrame(surface, 2, 2, w - 4, h - 4);
    }
    NoteButtonImages(window, set);
    return;
  }

  HDC faces = Engine().images.buttonFace;
  for (int n = 0; n < kButtonStateCount; ++n) {
    HDC surface = ButtonStateSurface(window, n);
    if (!surface) continue;
    ScopedSelection useFont(surface, set.font);
    SetBkMode(surface, TRANSPARENT);
    StretchSkinImage(surface, {0, 0, w, h}, faces, {0, kButtonFaceHeight * n, kButtonFaceWidth,
                                                    kButtonFaceHeight},
                     {3, 3, 3, 3});
    SetTextColor(surface, n == static_cast<int>(VisualState::Disabled) ? kDisabledCaptionColour
                                                                        : kCaptionColour);
    DrawCaptionText(surface, set.caption, 2, 2, w - 4, h - 4);
    if (set.focused) DrawFocusFrame(surface, 2, 2, w - 4, h - 4);
  }
  NoteButtonImages(window, set);
}

void ShapeButtonRegion(HWND window, int width, int height) noexcept {
  HRGN region = CreateRoundRectRgn(0, 0, width + 1, height + 1, 3, 3);
  // On success the system owns the region and frees it when it is replaced.
  if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
}

int PaintButtonBlend(HWND window, HDC surface) noexcept {
  return PaintButtonBlendAt(window, surface, GetSkinProp(window, prop::kAlphaLevel));
}

int PaintButtonBlendAt(HWND window, HDC surface, LONG_PTR alpha) noexcept {
  if (!IsWindowEnabled(window)) {
    SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(VisualState::Disabled));
  }
  return BlendStateImage(window, surface, GetSkinProp(window, prop::kOldState), alpha);
}

void PaintButtonFace(HWND window, VisualState state, LONG_PTR alpha) noexcept {
  if (!IsWindowEnabled(window)) {
    state = VisualState::Disabled;
    SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(state));
  }
  BlendStateImage(window, nullptr, static_cast<LONG_PTR>(state), alpha);
}

namespace {

int BlendStateImage(HWND window, HDC surface, LONG_PTR state, LONG_PTR alpha) noexcept {
  if (!IsSkinDrawnButtonStyle(GetSkinProp(window, prop::kOldStyle))) return 0;

  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  HDC source = ButtonStateSurface(window, static_cast<int>(state));
  if (!source) return 0;

  const BYTE opacity = static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
  // A constant opacity of 0 leaves every pixel as it is, one of 255 copies
  // the image.
  if (opacity == 0) return 0;
  const int w = bounds.width;
  const int h = bounds.height;
  TargetSurface target(window, surface);
  if (opacity == 255) {
    BitBlt(target.get(), 0, 0, w, h, source, 0, 0, SRCCOPY);
    return 0;
  }
  BLENDFUNCTION blend = {};
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = opacity;
  AlphaBlend(target.get(), 0, 0, w, h, source, 0, 0, w, h, blend);
  return 0;
}

}  // namespace

}  // namespace skin
