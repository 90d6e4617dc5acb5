// SPDX-License-Identifier: MIT
// The refresh passes in the browser, where the program has one thread. The pass is the window
// thread's (copy the marked rows to the window, hand its messages to the input state, under
// the screen lock); it runs from the game's own yields: every AwaitNextPass, and every 10 ms
// of a sleep, which hands the thread to the browser with emscripten_sleep (Asyncify) so that
// the page can show frames and gather input meanwhile.
#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "layer.h"
#include "screen/screen.h"

namespace layer {
namespace {

constexpr double kRefreshPeriodMs = 10;
// Longest wait of AwaitNextPass for new input, as on the threaded platforms.
constexpr double kAwaitInputTimeoutMs = 100;

uint64_t g_messages_handled = 0;  // window messages applied to the input state, all screens
uint64_t g_messages_awaited = 0;  // g_messages_handled when AwaitNextPass last returned

// Copies the marked band of rows to the window and clears the marks (lock held).
void PresentMarkedRows(Screen& screen) {
  const auto marked = [](uint8_t mark) { return mark != 0; };
  const auto first = std::find_if(screen.row_marks.begin(), screen.row_marks.end(), marked);
  if (first == screen.row_marks.end()) return;
  const auto last = std::find_if(screen.row_marks.rbegin(), screen.row_marks.rend(), marked);
  if (screen.bytes_per_pixel == 4) {
    screen.backend->Present(screen.framebuffer.data(), screen.pitch,
                            static_cast<int32_t>(first - screen.row_marks.begin()),
                            static_cast<int32_t>(screen.row_marks.rend() - last) - 1);
  }
  std::memset(screen.row_marks.data(), 0, screen.row_marks.size());
}

// One refresh pass of the open screen, if any.
void RunPass() {
  std::lock_guard<std::recursive_mutex> lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr || !screen->backend) return;
  PresentMarkedRows(*screen);
  const MessageSink sink = [screen](const WindowMessage& message) {
    HandleMessage(screen->input, message, *screen->backend);
    ++g_messages_handled;
  };
  if (screen->backend->Pump(sink)) {
    std::memset(screen->row_marks.data(), 1, screen->row_marks.size());
    PresentMarkedRows(*screen);
  }
}

}  // namespace

bool StartWindowThread(Screen& screen, BackendList backends) {
  const WindowRequest request{screen.title, screen.width, screen.height};
  for (auto& backend : backends) {
    if (backend && backend->Open(request)) {
      screen.backend = std::move(backend);
      return true;
    }
  }
  return false;
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
    emscripten_sleep(static_cast<unsigned>(std::min(left, kRefreshPeriodMs) + 0.5));
  }
}

// Returns once a pass has handed over input that this function has not yet returned for, or
// after kAwaitInputTimeoutMs; between passes the browser has the thread.
void AwaitNextPass() {
  const double end = emscripten_get_now() + kAwaitInputTimeoutMs;
  for (;;) {
    RunPass();
    if (g_messages_handled != g_messages_awaited) break;
    if (emscripten_get_now() >= end) break;
    emscripten_sleep(static_cast<unsigned>(kRefreshPeriodMs));
  }
  g_messages_awaited = g_messages_handled;
}

}  // namespace layer
