#pragma once
#include "skin/render/skin_images.h"

namespace skin {

// Process-wide skin state, shared by every skinner object; UI thread only.
struct EngineState {
  bool started = false;             // probe done and images built
  bool hasTrackMouseEvent = false;  // user32 exports TrackMouseEvent
  int skinnedWindowCount = 0;       // windows currently carrying SkinWndProc
  int skinnedChoiceCount = 0;       // of those, check boxes and option buttons
  HWND leaveTracked = nullptr;      // the last window whose leave notification was asked for
  SkinImages images;                // live while started
};

EngineState& Engine() noexcept;

}  // namespace skin
