#include "skin/core/skin_window.h"

#include "skin/core/control_kind.h"
#include "skin/core/engine_state.h"
#include "skin/core/skin_wnd_proc.h"
#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/fade_timer.h"
#include "skin/render/button_painter.h"
#include "skin/render/button_state_surfaces.h"
#include "skin/render/window_bounds.h"

namespace skin {
namespace {

// The button-specific part of a button's style; the rest (visible, enabled,
// tab stop ...) may change while the skin is on and must survive detach.
constexpr LONG_PTR kButtonStyleBits = 0xFFFF;
constexpr LONG_PTR kNone = 0;
constexpr LONG_PTR kNoIndex = -1;

// False when the window did not survive its own handling of the new style;
// nothing is made for it then.
bool PrepareCommandButton(HWND window) noexcept {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if (IsSkinDrawnButtonStyle(style)) SendMessageW(window, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
  if (!IsWindow(window)) return false;
  WindowBounds bounds;
  GetWindowBounds(window, bounds);
  CreateButtonStateSurfaces(window, bounds.width, bounds.height);
  RenderButtonStates(window);
  SetSkinProp(window, prop::kOldStyle, style);
  SetSkinProp(window, prop::kMouseFlag, kNone);
  SetSkinProp(window, prop::kTimerId, kNone);
  SetSkinProp(window, prop::kOldState,
              static_cast<LONG_PTR>(IsWindowEnabled(window) ? VisualState::Normal
                                                            : VisualState::Disabled));
  SetSkinProp(window, prop::kAlphaLevel, 0);
  ShapeButtonRegion(window, bounds.width, bounds.height);
  return true;
}

void ReleaseCommandButton(HWND window) noexcept {
  DeleteButtonStateSurfaces(window);
  StopFadeTimer(window);
  const LONG_PTR original = GetSkinProp(window, prop::kOldStyle);
  const LONG_PTR current = GetWindowLongPtrW(window, GWL_STYLE);
  SetWindowLongPtrW(window, GWL_STYLE,
                    (current & ~kButtonStyleBits) | (original & kButtonStyleBits));
  RemoveSkinProp(window, prop::kOldStyle);
  RemoveSkinProp(window, prop::kMouseFlag);
  RemoveSkinProp(window, prop::kTimerId);
  RemoveSkinProp(window, prop::kOldState);
  RemoveSkinProp(window, prop::kAlphaLevel);
  SetWindowRgn(window, nullptr, TRUE);
}

void RepaintWhole(HWND window) noexcept {
  SendMessageW(window, WM_NCPAINT, 1, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT);
}

bool OwnedByThisThread(HWND window) noexcept {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

LONG_PTR SkinProcValue() noexcept { return reinterpret_cast<LONG_PTR>(&SkinWndProc); }

LONG_PTR CurrentProc(HWND window) noexcept { return GetWindowLongPtrW(window, GWLP_WNDPROC); }

// Puts SkinWndProc in front of the window's procedure and keeps that one in
// "PROCADDR"; false when the system refused. A window the skin left under
// someone else's procedure still has SkinWndProc in its chain: the skin
// takes up its place there again.
bool InstallSkinProc(HWND window) noexcept {
  const LONG_PTR passThrough = GetSkinProp(window, prop::kPassProc);
  // Only a procedure address is ever stored there: 0 means there is none.
  if (passThrough != 0) RemoveSkinProp(window, prop::kPassProc);
  if (passThrough != 0 && CurrentProc(window) != passThrough) {
    return SetSkinProp(window, prop::kProcAddr, passThrough) != FALSE;
  }
  const LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, SkinProcValue());
  if (previous == 0) return false;  // every live window has a procedure
  if (!SetSkinProp(window, prop::kProcAddr, previous)) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
    return false;
  }
  return true;
}

// The preparation of the window's kind; false when the window is gone.
bool PrepareKind(HWND window, ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::Form:
      EnumChildWindows(window, SkinChildProc, 0);
      break;
    case ControlKind::CommandButton:
      return PrepareCommandButton(window);
    case ControlKind::ComboBox:
    case ControlKind::DriveList:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      SetSkinProp(window, prop::kMouseFlag, kNone);
      SetSkinProp(window, prop::kOldState, static_cast<LONG_PTR>(VisualState::Normal));
      break;
    case ControlKind::Header:
      SetSkinProp(window, prop::kMouseFlag, kNone);
      SetSkinProp(window, prop::kHeaderDownIndex, kNoIndex);
      SetSkinProp(window, prop::kHeaderHotIndex, kNoIndex);
      break;
    default:
      break;
  }
  return true;
}

// Undoes PrepareKind (a form's descendants too).
void ReleaseKind(HWND window, ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::Form:
      EnumChildWindows(window, UnskinChildProc, 0);
      break;
    case ControlKind::CommandButton:
      ReleaseCommandButton(window);
      break;
    case ControlKind::ComboBox:
    case ControlKind::DriveList:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
      RemoveSkinProp(window, prop::kMouseFlag);
      RemoveSkinProp(window, prop::kOldState);
      break;
    case ControlKind::Header:
      RemoveSkinProp(window, prop::kMouseFlag);
      RemoveSkinProp(window, prop::kHeaderDownIndex);
      RemoveSkinProp(window, prop::kHeaderHotIndex);
      break;
    default:
      break;
  }
}

bool IsChoiceKind(ControlKind kind) noexcept {
  return kind == ControlKind::CheckBox || kind == ControlKind::OptionButton;
}

}  // namespace

int SkinWindow(HWND window) noexcept {
  if (!window) return 0;
  if (GetSkinProp(window, prop::kProcAddr) != 0) return 0;
  if (!OwnedByThisThread(window)) return 0;
  // SkinWndProc with nowhere to pass to must never become its own previous.
  if (CurrentProc(window) == SkinProcValue() && GetSkinProp(window, prop::kPassProc) == 0) return 0;

  const ControlKind kind = ClassifyWindow(window);
  if (!PrepareKind(window, kind)) return 0;
  if (!InstallSkinProc(window)) {
    // Counted only with the procedure in place; a form's descendants keep
    // their skin, each on its own.
    if (kind != ControlKind::Form) ReleaseKind(window, kind);
    return 0;
  }
  ++Engine().skinnedWindowCount;
  if (IsChoiceKind(kind)) ++Engine().skinnedChoiceCount;
  RepaintWhole(window);
  return 1;
}

int UnskinWindow(HWND window, Restore restore) noexcept {
  if (!window) return 0;
  const LONG_PTR previous = GetSkinProp(window, prop::kProcAddr);
  if (previous == 0) return 0;

  // Only this thread's windows were counted; another process's window may
  // carry the property of a copy of its own.
  if (!OwnedByThisThread(window)) return 0;
  const ControlKind kind = ClassifyWindow(window);
  ReleaseKind(window, kind);

  RemoveSkinProp(window, prop::kProcAddr);
  if (restore == Restore::Always || CurrentProc(window) == SkinProcValue()) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, previous);
  } else {
    SetSkinProp(window, prop::kPassProc, previous);  // theirs stays on top
  }
  RepaintWhole(window);
  ForgetSkinProps(window);

  EngineState& engine = Engine();
  if (IsChoiceKind(kind) && engine.skinnedChoiceCount > 0) --engine.skinnedChoiceCount;
  if (--engine.skinnedWindowCount <= 0) {
    engine.skinnedWindowCount = 0;
    engine.skinnedChoiceCount = 0;
    ReleaseSkinImages(engine.images);
    engine.started = false;
  }
  return 1;
}

BOOL CALLBACK SkinChildProc(HWND window, LPARAM) noexcept {
  SkinWindow(window);
  return TRUE;
}

BOOL CALLBACK UnskinChildProc(HWND window, LPARAM) noexcept {
  UnskinWindow(window);
  return TRUE;
}

}  // namespace skin
