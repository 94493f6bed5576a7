#include "skin/render/check_option_painters.h"

#include "forms/dpi_metrics.h"
#include "skin/core/engine_state.h"
#include "skin/core/window_props.h"
#include "skin/render/gdi_handles.h"
#include "skin/render/memory_dc.h"
#include "skin/render/rect_primitives.h"
#include "skin/render/round_half_even.h"
#include "skin/render/skin_colours.h"
#include "skin/render/stretch_skin_image.h"
#include "skin/render/transparent_blit.h"
#include "skin/render/window_bounds.h"

namespace skin {
namespace {

constexpr LRESULT kChecked = BST_CHECKED;
constexpr LRESULT kGrayed = BST_INDETERMINATE;

// Records the state to draw; false when it is already drawn and not forced.
bool TakeState(HWND window, VisualState state, bool force) noexcept {
  if (!force && GetSkinProp(window, prop::kOldState) == static_cast<LONG_PTR>(state)) return false;
  SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(state));
  return true;
}

int WindowHeight(HWND window) noexcept {
  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  return bounds.height;
}

}  // namespace

int PaintCheckBox(HWND window, VisualState state, bool force) noexcept {
  if (!TakeState(window, state, force)) return 0;
  const int cx = forms::WindowMetric(window, SM_CXMENUCHECK);
  const int cy = forms::WindowMetric(window, SM_CYMENUCHECK);
  const int height = WindowHeight(window);
  const LRESULT check = SendMessageW(window, BM_GETCHECK, 0, 0);
  const SkinImages& images = Engine().images;
  const bool enabled = IsWindowEnabled(window) != FALSE;

  OwnedMemoryDC box(CreateMemoryDC(cx, cy));
  FillSolidRect(box.get(), 0, 0, cx, cy, kWhite);
  if (enabled) {
    FrameSolidRect(box.get(), 0, 0, cx, cy,
                   state == VisualState::Pressed ? kPressedCheckFrameColour : kFrameColour);
    // A strip of the hot or pressed option face fills the box; a box below
    // 13 pixels drops rows of it rather than ANDing them.
    SetStretchBltMode(box.get(), COLORONCOLOR);
    if (state == VisualState::Hot) {
      StretchBlt(box.get(), 1, 1, cx - 2, cy - 2, images.optionFace, 1, 17, 11, 5, SRCCOPY);
    } else if (state == VisualState::Pressed) {
      StretchBlt(box.get(), 1, 1, cx - 2, cy - 2, images.optionFace, 1, 30, 11, 5, SRCCOPY);
    }
  } else {
    FrameSolidRect(box.get(), 0, 0, cx, cy, kDisabledFrameColour);
  }
  if (check == kChecked) {
    TransparentBlit(box.get(), RoundHalfEven((cx - 9) / 2.0), RoundHalfEven((cy - 8) / 2.0), 9, 8,
                    images.mark, enabled ? 0 : 9, 0, TransparentKey);
  } else if (check == kGrayed) {
    TransparentBlit(box.get(), RoundHalfEven((cx - 7) / 2.0), RoundHalfEven((cy - 7) / 2.0), 7, 7,
                    images.mark, enabled ? 1 : 10, 9, TransparentKey);
  }

  BorrowedWindowDC target(window);
  BitBlt(target.get(), 0, RoundHalfEven((height - cy) / 2.0), cx, cy, box.get(), 0, 0, SRCCOPY);
  return 1;
}

int PaintOptionButton(HWND window, VisualState state, bool force) noexcept {
  if (!TakeState(window, state, force)) return 0;
  const int cx = forms::WindowMetric(window, SM_CXMENUCHECK);
  const int cy = forms::WindowMetric(window, SM_CYMENUCHECK);
  const int top = RoundHalfEven((WindowHeight(window) - cy) / 2.0);
  const LRESULT check = SendMessageW(window, BM_GETCHECK, 0, 0);
  const SkinImages& images = Engine().images;
  const bool enabled = IsWindowEnabled(window) != FALSE;
  const int faceSize = kOptionFaceSize;

  // Face and dot are composed off screen over what the window shows now (the
  // keyed corners let it through) and reach the screen in one copy.
  BorrowedWindowDC target(window);
  OwnedMemoryDC canvas(CreateMemoryDC(cx, cy));
  BitBlt(canvas.get(), 0, 0, cx, cy, target.get(), 0, top, SRCCOPY);
  if (enabled) {
    const int face = static_cast<int>(state);
    if (face >= 0 && face <= static_cast<int>(VisualState::Pressed)) {
      StretchSkinImage(canvas.get(), {0, 0, cx, cy}, images.optionFace,
                       {0, faceSize * face, faceSize, faceSize}, {5, 5, 5, 5}, TransparentKey);
    }
  } else {
    StretchSkinImage(canvas.get(), {0, 0, cx, cy}, images.optionFace,
                     {0, faceSize * static_cast<int>(VisualState::Disabled), faceSize, faceSize},
                     {5, 5, 5, 5}, TransparentKey);
  }
  if (check == kChecked) {
    TransparentBlit(canvas.get(), RoundHalfEven((cx - 5) / 2.0),
                    RoundHalfEven((cy - 5) / 2.0 + top) - top, 5, 5, images.mark, enabled ? 2 : 11, 18,
                    TransparentKey);
  }
  BitBlt(target.get(), 0, top, cx, cy, canvas.get(), 0, 0, SRCCOPY);
  return 1;
}

}  // namespace skin
