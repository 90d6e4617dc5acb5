// SPDX-License-Identifier: MIT
// The refresh passes in the browser, where the program has one thread. The pass is the window
// thread's (copy the marked rows to the window, hand its messages to the input state, under
// the screen lock); it runs from the game's own waits: AwaitNextPass, the pauses of SleepMs
// and the key wait. Between passes the thread belongs to the browser (Asyncify), and it is
// handed back only when the page has input for a pass (a pointer, key, focus, visibility or
// size event) or a time the program asked for has come: an idle page does no work at all.
// Whatever a pass copies reaches the canvas with the browser's next frame.
#include <emscripten.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>

#include "browser/browser_backend.h"
#include "layer.h"
#include "platform/wake_signal.h"
#include "screen/refresh_pass.h"
#include "screen/screen.h"

namespace layer {
namespace {

// A pass that held messages back (a release right after its press) is followed by the next
// one this soon, also while the program pauses.
constexpr std::chrono::milliseconds kHeldMessagesGap{10};
// The pause of AwaitNextPass with no screen open, as on the threaded platforms.
constexpr unsigned kNoScreenPause_ms = 10;
constexpr std::chrono::milliseconds kNoLimit = std::chrono::milliseconds::max();

uint64_t g_messages_handled = 0;  // window messages applied to the input state, all screens
uint64_t g_messages_awaited = 0;  // g_messages_handled when AwaitNextPass last returned
bool g_holding = false;           // the last pass held messages back

// One refresh pass of the open screen; false when no screen with a window is open.
bool RunPass() {
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr || !screen->backend) return false;
  const PassOutcome pass = RunRefreshPass(*screen);
  g_messages_handled += pass.messages;
  g_holding = pass.holding;
  return true;
}

// Sleeps until the page has input for the back-end or `timeout` passes (a pass that held
// messages back wants its successor soon).
void SleepUntilInput(std::chrono::milliseconds timeout) {
  int event_source = -1;
  {
    std::lock_guard<std::recursive_mutex> lock(ScreenLock());
    Screen* screen = CurrentScreen();
    if (screen != nullptr && screen->backend) event_source = screen->backend->EventSource();
  }
  if (g_holding) timeout = std::min(timeout, kHeldMessagesGap);
  static const WakeSignal unused;
  SleepUntilSignalled(event_source, unused, timeout);
}

// Runs passes, sleeping between them until the page has input, until one hands over input.
void AwaitInput() {
  const uint64_t before = g_messages_handled;
  for (;;) {
    if (!RunPass()) {
      emscripten_sleep(kNoScreenPause_ms);
      return;
    }
    if (g_messages_handled != before) return;
    SleepUntilInput(kNoLimit);
  }
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

// Passes run whenever the page has input meanwhile, as the window thread runs them, so that
// the input state at the end is the one the threaded platforms give.
void PauseMs(int32_t milliseconds) {
  const double end = emscripten_get_now() + std::max(milliseconds, 0);
  for (;;) {
    const bool open = RunPass();
    const double left = end - emscripten_get_now();
    if (left <= 0) return;
    const auto left_ms = std::chrono::milliseconds(static_cast<int64_t>(std::ceil(left)));
    if (open) {
      SleepUntilInput(left_ms);
    } else {
      emscripten_sleep(static_cast<unsigned>(left_ms.count()));
    }
  }
}

// A key reaches the key buffer only in a pass, so the endless wait sleeps until a pass has
// handed over input; the page offers its new game meanwhile.
void PauseInKeyWait(int32_t step_ms, bool endless) {
  if (!endless) {
    PauseMs(step_ms);
    return;
  }
  ShowNewGameOffer(true);
  AwaitInput();
  ShowNewGameOffer(false);
}

// Returns once a pass has handed over input that this function has not yet returned for;
// only input changes what the game's poll loops see, so it needs no time limit.
void AwaitNextPass() {
  if (g_messages_handled == g_messages_awaited) AwaitInput();
  g_messages_awaited = g_messages_handled;
}

}  // namespace layer
