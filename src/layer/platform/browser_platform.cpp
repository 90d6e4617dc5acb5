// SPDX-License-Identifier: MIT
// What the browser offers in place of the operating system: the program's path in the page's
// in-memory file system, a wake signal that nothing sleeps on (there is no second thread),
// and the test seed that the page's address may carry as #seed=N.
#include <emscripten.h>

#include <optional>

#include "platform/program_path.h"
#include "platform/wake_signal.h"
#include "system/random_generator.h"

namespace layer {
namespace {

// 1 and the seed in *seed when the page's address ends in #seed=N (N a whole number).
EM_JS(int, xmas_fragment_seed, (double* seed), {
  if (typeof location === 'undefined') return 0;
  var found = /(?:^#|&)seed=(-?[0-9]{1,15})(?:&|$)/.exec(location.hash);
  if (!found) return 0;
  HEAPF64[seed >> 3] = Number(found[1]);
  return 1;
});

// Read before main, so that the game's SeedRandom at start-up already uses it.
[[maybe_unused]] const bool kFragmentSeedRead = [] {
  double seed = 0;
  if (xmas_fragment_seed(&seed) != 0) FixSeed(seed);
  return true;
}();

}  // namespace

// The page packs the pictures into /app, beside this name.
std::string ExecutablePath() {
  return "/app/xmas-tictactoe";
}

WakeSignal::WakeSignal() = default;
WakeSignal::~WakeSignal() = default;
void WakeSignal::Raise() {}
void WakeSignal::Clear() {}

}  // namespace layer
