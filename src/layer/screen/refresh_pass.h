// SPDX-License-Identifier: MIT
// One refresh pass: the changed rows go to the window and the window's messages go to the
// input state, under the screen lock. The window thread runs passes on its own; where there
// is no second thread (the browser), the game's waits run them.
#pragma once

#include <cstdint>

#include "screen/screen.h"

namespace layer {

// What one pass did.
struct PassOutcome {
  bool presented = false;  // copied rows to the window
  uint64_t messages = 0;   // window messages handed to the input state
  bool pressed = false;    // among them a button press
  bool holding = false;    // messages wait for the next pass
};

// Opens the window with the first back-end that can, on the thread that will run the passes,
// and keeps its name and refresh rate for ScreenInfo. False when none can.
bool OpenWindow(Screen& screen, BackendList backends);

// Copies the marked band of rows to the window and clears the marks (screen lock held).
// False when no row was marked.
bool PresentMarkedRows(Screen& screen);

// Hands what the game told a screen reader since the last pass to the back-end (screen lock
// held).
void TellScreenReader(Screen& screen);

// Runs one pass of an open screen with a back-end, taking the screen lock.
PassOutcome RunRefreshPass(Screen& screen);

}  // namespace layer
