#pragma once
#include <windows.h>

namespace skin {

// The application's handle on the skin engine. It holds nothing itself: the
// engine state is shared by every skinner.
class clsSkinner {
 public:
  // Skins the top-level window and all its descendants; 1 when newly skinned.
  int AttachSkin(HWND window) noexcept;
  // Takes the skin off the window and its descendants; 1 when it was on.
  int DetachSkin(HWND window) noexcept;
};

}  // namespace skin
