#include "skin/interaction/mouse_handlers.h"

#include "skin/core/control_kind.h"
#include "skin/core/skin_handler.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/button_faces.h"
#include "skin/interaction/header_mouse.h"
#include "skin/interaction/hit_tests.h"
#include "skin/interaction/mouse_leave.h"
#include "skin/interaction/own_repaint_request.h"
#include "skin/interaction/still_skinned.h"
#include "skin/render/button_painter.h"
#include "skin/render/combo_button_painter.h"

namespace skin {
namespace {

constexpr LONG_PTR kComboListStyleBit = 1;  // set for CBS_SIMPLE and CBS_DROPDOWNLIST

bool IsEditableCombo(HWND combo) noexcept {
  return (GetWindowLongPtrW(combo, GWL_STYLE) & kComboListStyleBit) == 0;
}

void DrawComboButton(HWND window, VisualState state) noexcept {
  PaintComboButton(window, nullptr, state, false);
}

VisualState HotOrPressed(WPARAM wParam) noexcept {
  return (wParam & MK_LBUTTON) ? VisualState::Pressed : VisualState::Hot;
}

void ButtonDown(HWND window, ControlKind kind, LPARAM lParam) noexcept {
  switch (kind) {
    case ControlKind::CommandButton:
      ShowPressedFace(window);
      break;
    case ControlKind::ComboBox:
      if (IsEditableCombo(window) &&
          !HitTestComboButton(window, GetLParamX(lParam), GetLParamY(lParam))) {
        break;
      }
      DrawComboButton(window, VisualState::Pressed);
      break;
    case ControlKind::DriveList:
      DrawComboButton(window, VisualState::Pressed);
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      PaintCheckOrOption(window, kind, VisualState::Pressed, false);
      break;
    case ControlKind::Header:
      HeaderButtonDown(window, GetLParamX(lParam));
      break;
    default:
      break;
  }
}

void ButtonUp(HWND window, ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::CommandButton:
      SetSkinProp(window, prop::kMouseFlag, 0);
      FadeTo(window, VisualState::Normal, 60);
      break;
    case ControlKind::ComboBox:
    case ControlKind::DriveList:
      DrawComboButton(window, IsUnderCursor(window) ? VisualState::Hot : VisualState::Normal);
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      PaintCheckOrOption(window, kind, VisualState::Normal, false);
      break;
    case ControlKind::Header:
      HeaderButtonUp(window);
      break;
    default:
      break;
  }
}

void CommandButtonMove(HWND window) noexcept {
  if (GetSkinProp(window, prop::kMouseFlag) == 0) {
    // A move handled only after the pointer has gone (input queued behind
    // other work) starts nothing: no leave would follow it.
    if (!IsUnderCursor(window)) return;
    ArmMouseLeave(window);
    FadeTo(window, VisualState::Hot, 0);
  } else if (!IsUnderCursor(window)) {
    CompleteFace(window);  // captured and dragged outside
  }
}

void Move(HWND window, ControlKind kind, WPARAM wParam, LPARAM lParam) noexcept {
  switch (kind) {
    case ControlKind::CommandButton:
      CommandButtonMove(window);
      break;
    case ControlKind::ComboBox: {
      ArmMouseLeave(window);
      const bool outsideZone = IsEditableCombo(window) &&
                               !HitTestComboButton(window, GetLParamX(lParam), GetLParamY(lParam));
      DrawComboButton(window, outsideZone ? VisualState::Normal : HotOrPressed(wParam));
      break;
    }
    case ControlKind::DriveList:
      ArmMouseLeave(window);
      DrawComboButton(window, HotOrPressed(wParam));
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      ArmMouseLeave(window);
      PaintCheckOrOption(window, kind, HotOrPressed(wParam), true);
      break;
    case ControlKind::Header:
      HeaderMouseMove(window, GetLParamX(lParam), (wParam & MK_LBUTTON) != 0);
      break;
    default:
      break;
  }
}

void Leave(HWND window, ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::CommandButton:
      SetSkinProp(window, prop::kMouseFlag, 0);
      PaintButtonFace(window, VisualState::Hot, 140);
      FadeTo(window, VisualState::Normal, 0);
      break;
    case ControlKind::ComboBox:
    case ControlKind::DriveList:
      SetSkinProp(window, prop::kMouseFlag, 0);
      DrawComboButton(window, VisualState::Normal);
      break;
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      SetSkinProp(window, prop::kMouseFlag, 0);
      PaintCheckOrOption(window, kind, VisualState::Normal, false);
      break;
    case ControlKind::Header:
      HeaderMouseLeave(window);
      break;
    default:
      break;
  }
}

// Passes the message on, then, while the window is still skinned, lets
// `handle` repaint it and drops the repaint the button asked for itself.
template <typename Handle>
LRESULT PassOnThenHandle(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam, Handle handle) noexcept {
  const ControlKind kind = ClassifyWindow(window);
  OwnRepaintRequest own(window);
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if (StillSkinned(window)) {
    handle(kind);
    own.Drop();
  }
  return result;
}

}  // namespace

LRESULT OnSkinLButtonDown(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) noexcept {
  return PassOnThenHandle(previous, window, message, wParam, lParam,
                          [=](ControlKind kind) { ButtonDown(window, kind, lParam); });
}

LRESULT OnSkinLButtonDblClk(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                            LPARAM lParam) noexcept {
  const ControlKind kind = ClassifyWindow(window);
  const LRESULT result = PassOn(previous, window, message, wParam, lParam);
  if ((kind == ControlKind::CommandButton || kind == ControlKind::Header) && StillSkinned(window)) {
    ButtonDown(window, kind, lParam);
  }
  return result;
}

LRESULT OnSkinLButtonUp(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept {
  return PassOnThenHandle(previous, window, message, wParam, lParam,
                          [window](ControlKind kind) { ButtonUp(window, kind); });
}

LRESULT OnSkinMouseMove(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) noexcept {
  return PassOnThenHandle(previous, window, message, wParam, lParam,
                          [=](ControlKind kind) { Move(window, kind, wParam, lParam); });
}

LRESULT OnSkinMouseLeave(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) noexcept {
  return PassOnThenHandle(previous, window, message, wParam, lParam,
                          [window](ControlKind kind) { Leave(window, kind); });
}

LRESULT OnSkinMouseHover(WNDPROC previous, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) noexcept {
  return PassOnThenHandle(previous, window, message, wParam, lParam, [](ControlKind) {});
}

}  // namespace skin
