#include "skin/core/engine_state.h"

namespace skin {

EngineState& Engine() noexcept {
  static EngineState state;
  return state;
}

}  // namespace skin
