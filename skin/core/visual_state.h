#pragma once

namespace skin {

// The look a skinned control shows; stored in the "OLDSTATE" property and
// used as the index of a face in the skin images.
enum class VisualState : int {
  Normal = 0,
  Hot = 1,
  Pressed = 2,
  Disabled = 3,
};

}  // namespace skin
