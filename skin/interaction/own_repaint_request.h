#pragma once
#include <windows.h>

namespace skin {

// What a command button's own procedure adds to its update region while it
// handles one message: its own hot, pushed or focus look, which the skin
// never shows and whose repaint would end a fade at once. Taken before the
// pass-on; Drop() validates only the part added since, so areas that were
// already waiting for a repaint (uncovered by a closed window) keep it.
// For any window but a skin-drawn command button it does nothing.
class OwnRepaintRequest {
 public:
  explicit OwnRepaintRequest(HWND window) noexcept;
  OwnRepaintRequest(const OwnRepaintRequest&) = delete;
  OwnRepaintRequest& operator=(const OwnRepaintRequest&) = delete;
  ~OwnRepaintRequest();

  void Drop() noexcept;

 private:
  HWND window_ = nullptr;
  HRGN pending_ = nullptr;  // the update region found before the pass-on
};

}  // namespace skin
