// SPDX-License-Identifier: MIT
// What the browser offers in place of the operating system: the program's path in /app,
// where the page holds its picture files, a wake signal that nothing raises (there is no
// second thread), the sleep until the page has input, and the test seed that the page's
// address may carry as #seed=N.
#include <emscripten.h>

#include <algorithm>
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

// Hands the thread to the browser (Asyncify) until the page's input wakes the program or
// `timeout_ms` passes (a negative timeout: no limit). The page's event handlers call
// Module.xmasInput.wake() for every event they queue; one that comes while nothing sleeps
// ends the next sleep at once. The program resumes once the event's handlers have returned;
// its end (exit) is no error of the page's.
EM_JS(void, xmas_sleep, (double timeout_ms, int until_input), {
  var input = Module['xmasInput'] || (Module['xmasInput'] = {
    pending: false,
    sleeper: null,
    wake: function() {
      var sleeper = input.sleeper;
      if (!sleeper) { input.pending = true; return; }
      input.sleeper = null;
      Promise.resolve().then(sleeper);
    }
  });
  Asyncify.handleSleep(function(wakeUp) {
    if (until_input && input.pending) {
      input.pending = false;
      wakeUp();
      return;
    }
    var timer = null;
    var woken = false;
    function done() {
      if (woken) return;
      woken = true;
      if (timer !== null) clearTimeout(timer);
      if (input.sleeper === done) input.sleeper = null;
      try {
        wakeUp();
      } catch (e) {
        if (!(e instanceof ExitStatus) && e !== 'unwind') throw e;
      }
    }
    if (timeout_ms >= 0) timer = setTimeout(done, timeout_ms);
    if (until_input) input.sleeper = done;
  });
});

// The timeout for setTimeout, which takes at most 2^31 - 1 ms: a longer wait is one without
// limit (-1).
double PageTimeout_ms(std::chrono::milliseconds timeout) {
  if (timeout.count() >= 0x7FFFFFFF) return -1.0;
  return static_cast<double>(std::max<int64_t>(timeout.count(), 0));
}

}  // namespace

void SleepUntilSignalled(int event_source, const WakeSignal& /*wake*/,
                         std::chrono::milliseconds timeout) {
  xmas_sleep(PageTimeout_ms(timeout), event_source >= 0 ? 1 : 0);
}

void SleepUntilRaised(const WakeSignal& /*wake*/, std::chrono::milliseconds timeout) {
  xmas_sleep(PageTimeout_ms(timeout), 0);
}

// The page holds the picture files by their paths in /app, beside this name
// (browser_picture_file.cpp).
std::string ExecutablePath() {
  return "/app/xmas-tictactoe";
}

WakeSignal::WakeSignal() = default;
WakeSignal::~WakeSignal() = default;
void WakeSignal::Raise() {}
void WakeSignal::Clear() {}

}  // namespace layer
