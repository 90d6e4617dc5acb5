// SPDX-License-Identifier: MIT
// The window thread: refresh passes that copy changed rows to the window and hand its
// messages to the input state, the pauses between them, and the waits of other threads on
// its progress.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "desktop/input_pass_pacing.h"
#include "layer.h"
#include "screen/refresh_pass.h"
#include "screen/screen.h"

namespace layer {
namespace {

constexpr auto kRefreshPeriod = std::chrono::milliseconds(10);
// Longest pause of a quiet window thread: passes come at least this often, so that work the
// window system defers to a later pump is never put off for long. Each pass costs a round
// trip to the window system (under Wine, to its server), so idle passes are kept rare.
constexpr auto kQuietPassPeriod = std::chrono::milliseconds(500);
// Passes that hand over input average at most one per kInputPassGap; a run of kInputPassRun
// may follow one another at once (see InputPassPacing).
constexpr auto kInputPassGap = std::chrono::milliseconds(2);
constexpr int kInputPassRun = 4;
// Longest wait of AwaitNextPass for new input. Only input changes what a poll loop sees, so
// this is a safety net, not a cadence, and rare: every timed wait of a thread under Wine is a
// round trip to its server.
constexpr auto kAwaitInputTimeout = std::chrono::milliseconds(500);

// What the window thread has done so far, for threads that wait on it. It is kept apart from
// the screen and outlives every screen, so no waiter is ever left on a freed screen.
struct WindowProgress {
  std::mutex mutex;
  std::condition_variable pass_finished;  // after every pass, and when a screen closes
  std::condition_variable input_arrived;  // after a pass that handled messages, and on closing
  uint64_t passes_begun = 0;
  uint64_t passes = 0;  // finished
  uint64_t closes = 0;
  uint64_t messages_handled = 0;  // window messages applied to the input state, all screens
  bool screen_open = false;
};
WindowProgress g_progress;
// messages_handled when AwaitNextPass last returned on this thread.
thread_local uint64_t t_messages_awaited = 0;

// Counts a pass as begun before it takes the screen lock, so that a pass that may already
// have copied the framebuffer never counts for a wait that began after it.
void BeginPass() {
  std::lock_guard<std::mutex> lock(g_progress.mutex);
  ++g_progress.passes_begun;
}

bool AnyRowMarked(const Screen& screen) {
  return std::any_of(screen.row_marks.begin(), screen.row_marks.end(),
                     [](uint8_t mark) { return mark != 0; });
}

// Sleeps for `period`, or less when the screen closes.
void SleepUnlessStopped(Screen& screen, std::chrono::steady_clock::duration period) {
  if (period <= std::chrono::steady_clock::duration::zero()) return;
  std::unique_lock<std::mutex> lock(screen.stop_mutex);
  screen.stop_requested.wait_for(lock, period, [&screen] { return screen.stop.load(); });
}

// Sleeps until the window system's connection has input, the screen closes or `timeout`
// passes; when `until_drawn`, also until a drawing marks a row.
void SleepUntilActivity(Screen& screen, int event_source, std::chrono::milliseconds timeout,
                        bool until_drawn) {
  if (until_drawn) {
    std::lock_guard<std::recursive_mutex> lock(ScreenLock());
    if (AnyRowMarked(screen)) return;  // drawn since the pass
    screen.quiet.store(true);
  }
  if (!screen.stop.load()) {
    SleepUntilSignalled(event_source, screen.wake, timeout);
  }
  screen.quiet.store(false);
  screen.wake.Clear();
}

// Sleeps until `deadline` (or the screen closes) without looking at the window's input, and
// meanwhile copies every drawing to the window as soon as it marks a row. Such copies are not
// passes: they hand over no input, and waits for passes do not count them.
void PresentDrawingsUntil(Screen& screen, std::chrono::steady_clock::time_point deadline) {
  while (!screen.stop.load()) {
    {
      std::lock_guard<std::recursive_mutex> lock(ScreenLock());
      PresentMarkedRows(screen);
      screen.quiet.store(true);  // the next row mark raises the wake signal
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    SleepUntilRaised(screen.wake, left);
    screen.quiet.store(false);
    screen.wake.Clear();
  }
  screen.quiet.store(false);
}

// The pause before the next pass. Passes come every refresh period while anything happens.
// A pass that handed over a press, or holds messages back, is followed by a whole period
// before the next pass looks at the window's input, so that a poll loop sees the press before
// its release; what the game draws meanwhile (the cross it places on seeing the press) goes
// to the window at once. Otherwise, where the back-end names its
// event source, new input ends the pause early (after a pass with input, not before a short
// gap, which bounds the rate of passes while the mouse moves). After a pass that found
// nothing at all, the pause lasts until input comes, a drawing marks a row, or the quiet
// period ends: such a pass emptied the window system's queue and nothing has read its
// connection since, so new input always makes the connection readable.
void PauseAfterPass(Screen& screen, const PassOutcome& pass, InputPassPacing& pacing) {
  const int event_source = screen.backend->EventSource();
  if ((pass.pressed || pass.holding) && screen.wake.fd() >= 0) {
    PresentDrawingsUntil(screen, std::chrono::steady_clock::now() + kRefreshPeriod);
    return;
  }
  if (event_source < 0 || screen.wake.fd() < 0) {
    SleepUnlessStopped(screen, kRefreshPeriod);
    return;
  }
  if (pass.messages != 0) {
    const auto gap = pacing.PauseAfterInputPass(std::chrono::steady_clock::now());
    SleepUnlessStopped(screen, gap);
    SleepUntilActivity(screen, event_source,
                       std::chrono::ceil<std::chrono::milliseconds>(kRefreshPeriod - gap), false);
  } else if (pass.presented) {
    SleepUntilActivity(screen, event_source, kRefreshPeriod, false);
  } else {
    SleepUntilActivity(screen, event_source, kQuietPassPeriod, true);
  }
}

// Counts a finished pass and wakes its waiters. A pass without input wakes no poll loop.
void FinishPass(uint64_t messages) {
  {
    std::lock_guard<std::mutex> lock(g_progress.mutex);
    ++g_progress.passes;
    g_progress.messages_handled += messages;
  }
  g_progress.pass_finished.notify_all();
  if (messages != 0) g_progress.input_arrived.notify_all();
}

}  // namespace

// The window thread: makes the window with the first back-end that can, reports the
// outcome, then refreshes the window and gathers input until told to stop.
void RunWindowThread(Screen* screen, BackendList backends, std::promise<bool> opened) {
  const bool has_window = OpenWindow(*screen, std::move(backends));
  opened.set_value(has_window);
  if (!has_window) return;

  InputPassPacing pacing(kInputPassGap, kInputPassRun);
  while (!screen->stop.load()) {
    BeginPass();
    const PassOutcome pass = RunRefreshPass(*screen);
    FinishPass(pass.messages);
    PauseAfterPass(*screen, pass, pacing);
  }
  screen->backend->Close();
}

bool StartWindowThread(Screen& screen, BackendList backends) {
  std::promise<bool> opened;
  std::future<bool> outcome = opened.get_future();
  screen.window_thread =
      std::thread(RunWindowThread, &screen, std::move(backends), std::move(opened));
  if (outcome.get()) return true;
  screen.window_thread.join();
  return false;
}

void PauseMs(int32_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The window thread fills the key buffer meanwhile; the key wait looks again after the step.
void PauseInKeyWait(int32_t step_ms, bool /*endless*/) {
  PauseMs(step_ms);
}

void StopWindowThread(Screen& screen) {
  {
    std::lock_guard<std::mutex> lock(screen.stop_mutex);
    screen.stop.store(true);
  }
  screen.stop_requested.notify_all();
  screen.wake.Raise();
  if (screen.window_thread.joinable()) screen.window_thread.join();
}

void NoteScreenOpened() {
  std::lock_guard<std::mutex> lock(g_progress.mutex);
  g_progress.screen_open = true;
}

// Counts a screen's closing and wakes every waiter: what they wait for may never come.
void NoteScreenClosed() {
  {
    std::lock_guard<std::mutex> lock(g_progress.mutex);
    ++g_progress.closes;
    g_progress.screen_open = false;
  }
  g_progress.pass_finished.notify_all();
  g_progress.input_arrived.notify_all();
}

void AwaitWindowPasses(int32_t count, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(g_progress.mutex);
  if (!g_progress.screen_open) return;
  // Passes run one after another: once this many have finished, `count` passes that began
  // after this call have finished.
  const uint64_t target = g_progress.passes_begun + static_cast<uint64_t>(std::max(count, 0));
  const uint64_t closes = g_progress.closes;
  g_progress.pass_finished.wait_for(lock, timeout, [target, closes] {
    return g_progress.passes >= target || g_progress.closes != closes;
  });
}

// Sleeps until the window thread has handed over input that this function has not yet
// returned for on the calling thread: a poll loop that queries, then calls this, sees every
// change and otherwise stays asleep. Window passes without input do not wake it, and every
// waiting thread wakes for the same input.
void AwaitNextPass() {
  std::unique_lock<std::mutex> lock(g_progress.mutex);
  if (!g_progress.screen_open) {
    g_progress.input_arrived.wait_for(lock, kRefreshPeriod);
    return;
  }
  const uint64_t closes = g_progress.closes;
  g_progress.input_arrived.wait_for(lock, kAwaitInputTimeout, [closes] {
    return g_progress.messages_handled != t_messages_awaited || g_progress.closes != closes;
  });
  t_messages_awaited = g_progress.messages_handled;
}

}  // namespace layer
