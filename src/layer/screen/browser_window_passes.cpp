// SPDX-License-Identifier: MIT
// The refresh passes in the browser, where the program has one thread. The pass is the window
// thread's (copy the marked rows to the window, hand its messages to the input state, under
// the screen lock); it runs from the game's own yields: every AwaitNextPass, and every 10 ms
// of a sleep, which hands the thread to the browser with emscripten_sleep (Asyncify) so that
// the page can show frames and gather input meanwhile.
#include <emscripten.h>

#include <algorithm>
#include <mutex>

#include "layer.h"
#include "screen/refresh_pass.h"
#include "screen/screen.h"

namespace layer {
namespace {

constexpr double kRefreshPeriod_ms = 10;
// Longest wait of AwaitNextPass for new input, as on the threaded platforms.
constexpr double kAwaitInputTimeout_ms = 100;

uint64_t g_messages_handled = 0;  // window messages applied to the input state, all screens
uint64_t g_messages_awaited = 0;  // g_messages_handled when AwaitNextPass last returned

// One refresh pass of the open screen, if any.
void RunPass() {
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr || !screen->backend) return;
  g_messages_handled += RunRefreshPass(*screen).messages;
}

}  // namespace

bool StartWindowThread(Screen& screen, BackendList backends) {
  return OpenWindow(screen, std::move(backends));
}

// Shows what was drawn last, then closes the window.
void StopWindowThread(Screen& screen) {
  if (!screen.backend) return;
  {
    std::lock_guard<std::recursive_mutex> lock(ScreenLock());
    PresentMarkedRows(screen);
  }
  screen.backend->Close();
}

void NoteScreenOpened() {}
void NoteScreenClosed() {}

// Runs the passes at once: nothing else could run them while the caller waits.
void AwaitWindowPasses(int32_t count, std::chrono::milliseconds /*timeout*/) {
  for (int32_t i = 0; i < count; ++i) RunPass();
}

void PauseMs(int32_t milliseconds) {
  const double end = emscripten_get_now() + std::max(milliseconds, 0);
  for (;;) {
    RunPass();
    const double left = end - emscripten_get_now();
    if (left <= 0) return;
    emscripten_sleep(static_cast<unsigned>(std::min(left, kRefreshPeriod_ms) + 0.5));
  }
}

// Returns once a pass has handed over input that this function has not yet returned for, or
// after kAwaitInputTimeout_ms; between passes the browser has the thread.
void AwaitNextPass() {
  const double end = emscripten_get_now() + kAwaitInputTimeout_ms;
  for (;;) {
    RunPass();
    if (g_messages_handled != g_messages_awaited) break;
    if (emscripten_get_now() >= end) break;
    emscripten_sleep(static_cast<unsigned>(kRefreshPeriod_ms));
  }
  g_messages_awaited = g_messages_handled;
}

}  // namespace layer
