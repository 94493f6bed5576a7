#pragma once
#include <cmath>

namespace skin {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline int RoundHalfEven(double value) noexcept {
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace skin
