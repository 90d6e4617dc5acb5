// SPDX-License-Identifier: MIT
// Test seams of the layer: what tests, the benchmark and the fuzz target use to run the layer
// without a window system. They sit above the subsystems they reach into (the screen, the
// headless back-end, ending the process), and the shipped program is built without them.
#pragma once

#include <cstdint>
#include <functional>

#include "backends/headless_backend.h"
#include "input/window_message.h"
#include "system/end_program.h"

namespace layer::testing {

// Makes every later OpenScreen use one headless back-end. With an event source, the window
// thread sleeps while nothing happens, as on a real window system.
void UseHeadlessBackend(bool with_event_source = false);
// The open screen's headless back-end (nullptr without one); valid until the screen closes.
HeadlessBackend* Headless();

// Closes the open screen, if any (tests start from no screen).
void CloseScreenForTest();

// Waits until the window thread has finished `count` passes that began after this call.
void WaitForPasses(int32_t count);

// Pixel (x, y) of the framebuffer (32-bit screens), read under the screen lock.
uint32_t FramebufferPixel(int32_t x, int32_t y);

// Replaces what EndProgram does: the hook runs instead of ending the process. A hook
// that returns is followed by ending the process as usual, so hooks throw to unwind.
using layer::SetEndProgramHook;

}  // namespace layer::testing
