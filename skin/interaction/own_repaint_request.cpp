#include "skin/interaction/own_repaint_request.h"

#include "skin/core/control_kind.h"
#include "skin/core/window_props.h"
#include "skin/render/button_painter.h"

namespace skin {

OwnRepaintRequest::OwnRepaintRequest(HWND window) noexcept {
  if (ClassifyWindow(window) != ControlKind::CommandButton ||
      !IsSkinDrawnButtonStyle(GetSkinProp(window, prop::kOldStyle))) {
    return;
  }
  pending_ = CreateRectRgn(0, 0, 0, 0);
  if (pending_ && GetUpdateRgn(window, pending_, FALSE) != ERROR) window_ = window;
}

OwnRepaintRequest::~OwnRepaintRequest() {
  if (pending_) DeleteObject(pending_);
}

void OwnRepaintRequest::Drop() noexcept {
  if (!window_ || !IsWindow(window_)) return;
  HRGN added = CreateRectRgn(0, 0, 0, 0);
  if (!added) return;
  if (GetUpdateRgn(window_, added, FALSE) > NULLREGION &&
      CombineRgn(added, added, pending_, RGN_DIFF) > NULLREGION) {
    ValidateRgn(window_, added);
  }
  DeleteObject(added);
}

}  // namespace skin
