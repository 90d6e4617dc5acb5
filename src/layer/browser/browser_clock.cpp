// SPDX-License-Identifier: MIT
// The clock that seeds the random generator in the browser. The page's own high-resolution
// clock (performance.now()) starts at zero with every load, which would give every load the
// same seed; counted from the page's start in Unix time (performance.timeOrigin) it does not
// restart, so two loads in different seconds get different seeds, as two runs of the desktop
// game do.
#include <emscripten.h>

#include "layer.h"

namespace layer {
namespace {

EM_JS(double, xmas_clock_ms, (), {
  if (typeof performance !== 'undefined' && performance.timeOrigin > 0) {
    return performance.timeOrigin + performance.now();
  }
  return Date.now();
});

}  // namespace

double ClockSeconds() {
  return xmas_clock_ms() / 1000;
}

}  // namespace layer
