// SPDX-License-Identifier: MIT
// How often the window thread may run passes that hand over input.
#pragma once

#include <algorithm>
#include <chrono>

namespace layer {

// However fast input comes, passes that hand it over average at most one per `gap`, and a run
// of `run` of them may follow one another at once: a press that comes just after the pointer
// move that woke the window thread goes on without waiting. (A generic cell rate: each such
// pass moves the theoretical time of the next one on by the gap, and a pass may run up to
// `run` gaps ahead of it.)
class InputPassPacing {
 public:
  using Clock = std::chrono::steady_clock;

  InputPassPacing(Clock::duration gap, int run) : gap_(gap), run_(run) {}

  // After a pass that handed over input at `now`: how long the next pass must wait.
  Clock::duration PauseAfterInputPass(Clock::time_point now) {
    next_ = std::max(next_, now) + gap_;
    const Clock::time_point earliest = next_ - gap_ * run_;
    return earliest > now ? earliest - now : Clock::duration::zero();
  }

 private:
  Clock::duration gap_;
  int run_;
  Clock::time_point next_{};
};

}  // namespace layer
