#include "skin/interaction/button_faces.h"

#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_painter.h"
#include "skin/render/check_option_painters.h"

namespace skin {

void ShowPressedFace(HWND window) noexcept {
  StopFadeTimer(window);
  SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(VisualState::Pressed));
  PaintButtonFace(window, VisualState::Pressed, 255);
  SetSkinProp(window, prop::kAlphaLevel, 0);
}

void CompleteFace(HWND window) noexcept {
  StopFadeTimer(window);
  SetSkinProp(window, prop::kAlphaLevel, 255);
  PaintButtonBlend(window, nullptr);
}

void FadeTo(HWND window, VisualState state, LONG_PTR level) noexcept {
  SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(state));
  SetSkinProp(window, prop::kAlphaLevel, level);
  StartFadeTimer(window);
}

void PaintCheckOrOption(HWND window, ControlKind kind, VisualState state, bool force) noexcept {
  if (kind == ControlKind::CheckBox) {
    PaintCheckBox(window, state, force);
  } else if (kind == ControlKind::OptionButton) {
    PaintOptionButton(window, state, force);
  }
}

}  // namespace skin
