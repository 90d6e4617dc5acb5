// SPDX-License-Identifier: MIT
// Ending the process: the exit-time handlers run (among them the one that closes the
// screen), then the process ends with the given status.
#include <cstdlib>
#include <functional>

#include "layer.h"
#include "system/end_program.h"

namespace layer {
namespace {

std::function<void(int32_t)>& EndProgramHook() {
  static std::function<void(int32_t)> hook;
  return hook;
}

}  // namespace

void SetEndProgramHook(std::function<void(int32_t status)> hook) {
  EndProgramHook() = std::move(hook);
}

void EndProgram(int32_t status) {
  if (EndProgramHook()) {
    const std::function<void(int32_t)> hook = EndProgramHook();  // the hook may replace itself
    hook(status);
  }
  std::exit(status);
}

}  // namespace layer
