// SPDX-License-Identifier: MIT
// What EndProgram does, replaceable for tests.
#pragma once

#include <cstdint>
#include <functional>

namespace layer {

// Replaces what EndProgram does: the hook runs instead of ending the process. A hook that
// returns is followed by ending the process as usual, so hooks throw to unwind. An empty hook
// restores the usual ending.
void SetEndProgramHook(std::function<void(int32_t status)> hook);

}  // namespace layer
