#include "skin/core/engine_start.h"

#include "skin/core/engine_state.h"
#include "skin/core/skin_window.h"
#include "skin/core/track_mouse_probe.h"

namespace skin {

int StartSkin(HWND window) noexcept {
  EngineState& engine = Engine();
  if (!engine.started) {
    engine.started = true;
    engine.hasTrackMouseEvent = HasUser32TrackMouseEvent("TrackMouseEvent", L"User32");
    engine.images = BuildSkinImages();
  }
  return SkinWindow(window);
}

int StopSkin(HWND window) noexcept { return UnskinWindow(window, Restore::Always); }

}  // namespace skin
