// SPDX-License-Identifier: MIT
// The clock that seeds the random generator on the desktop: std::chrono::steady_clock, a
// monotonic high-resolution counter that is always available, so no slower fallback clock is
// needed. Its origin (the system's start) differs from run to run by the time between them.
#include <chrono>

#include "layer.h"

namespace layer {

double ClockSeconds() {
  using Seconds = std::chrono::duration<double>;
  return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace layer
