#include "skin/interaction/header_mouse.h"

#include <commctrl.h>

#include "skin/core/visual_state.h"
#include "skin/core/window_props.h"
#include "skin/interaction/hit_tests.h"
#include "skin/interaction/mouse_leave.h"
#include "skin/render/header_item_painter.h"

namespace skin {
namespace {

constexpr LONG_PTR kNoItem = -1;

int ItemCount(HWND header) noexcept {
  return static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
}

void Draw(HWND header, LONG_PTR index, VisualState state) noexcept {
  PaintHeaderItem(header, nullptr, static_cast<int>(index), state);
}

}  // namespace

void HeaderButtonDown(HWND header, int x) noexcept {
  if (ItemCount(header) <= 0) return;
  const int hit = HitTestHeaderItem(header, x);
  SetSkinProp(header, prop::kHeaderDownIndex, hit);
  if (hit >= 0) Draw(header, hit, VisualState::Pressed);
}

void HeaderButtonUp(HWND header) noexcept {
  const LONG_PTR released = GetSkinProp(header, prop::kHeaderDownIndex);
  SetSkinProp(header, prop::kHeaderDownIndex, kNoItem);
  if (released < 0) return;
  Draw(header, released, IsUnderCursor(header) ? VisualState::Normal : VisualState::Hot);
}

void HeaderMouseMove(HWND header, int x, bool leftButtonDown) noexcept {
  ArmMouseLeave(header);
  const LONG_PTR hit = ItemCount(header) > 0 ? HitTestHeaderItem(header, x) : kNoItem;
  const LONG_PTR hot = GetSkinProp(header, prop::kHeaderHotIndex);
  const LONG_PTR pressed = GetSkinProp(header, prop::kHeaderDownIndex);
  if (hit == hot) return;
  if (hot >= 0 && hot != pressed) Draw(header, hot, VisualState::Normal);
  if (!leftButtonDown) {
    SetSkinProp(header, prop::kHeaderHotIndex, hit);
    Draw(header, hit, VisualState::Hot);
  } else if (hit == pressed) {
    Draw(header, hit, VisualState::Pressed);
  }
}

void HeaderMouseLeave(HWND header) noexcept {
  const LONG_PTR hot = GetSkinProp(header, prop::kHeaderHotIndex);
  SetSkinProp(header, prop::kMouseFlag, 0);
  SetSkinProp(header, prop::kHeaderDownIndex, kNoItem);
  SetSkinProp(header, prop::kHeaderHotIndex, kNoItem);
  if (hot >= 0) Draw(header, hot, VisualState::Normal);
}

}  // namespace skin
