// SPDX-License-Identifier: MIT
// The game's side of input: mouse queries, key reads and sleeps with an optional key wait.
#include <algorithm>
#include <mutex>

#include "layer.h"
#include "screen/screen.h"

namespace layer {
namespace {

constexpr int32_t kKeyWaitCheck_ms = 50;

using Lock = std::lock_guard<std::recursive_mutex>;

// Takes and clears the key-arrival flag. No screen counts as "stop waiting": no key could
// ever arrive, and an endless wait would hang the program.
bool TakeKeyArrival() {
  Lock lock(ScreenLock());
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return true;
  const bool arrived = screen->input.keys.arrived != 0;
  screen->input.keys.arrived = 0;
  return arrived;
}

// Sleeps up to `milliseconds` in steps of kKeyWaitCheck_ms, returning early once a key has
// arrived; a negative duration waits without limit.
void WaitForKey(int32_t milliseconds) {
  const bool endless = milliseconds < 0;
  int32_t remaining_ms = milliseconds;
  while (!TakeKeyArrival()) {
    if (!endless && remaining_ms <= 0) return;
    const int32_t step_ms = endless ? kKeyWaitCheck_ms : std::min(kKeyWaitCheck_ms, remaining_ms);
    PauseInKeyWait(step_ms, endless);
    if (!endless) remaining_ms -= step_ms;
  }
}

}  // namespace

int32_t QueryMouse(int32_t& x, int32_t& y, int32_t* wheel, int32_t* buttons, int32_t* confinement) {
  {
    Lock lock(ScreenLock());
    const Screen* screen = CurrentScreen();
    if (screen != nullptr && screen->input.mouse.active && screen->input.mouse.inside) {
      const MouseState& mouse = screen->input.mouse;
      x = mouse.x;
      y = mouse.y;
      if (wheel != nullptr) *wheel = mouse.wheel;
      if (buttons != nullptr) *buttons = mouse.buttons;
      if (confinement != nullptr) *confinement = 0;  // nothing confines the pointer
      return 0;
    }
  }
  x = -1;
  y = -1;
  if (wheel != nullptr) *wheel = -1;
  if (buttons != nullptr) *buttons = -1;
  if (confinement != nullptr) *confinement = -1;
  return 1;
}

std::string ReadKey() {
  int32_t code = 0;
  {
    Lock lock(ScreenLock());
    Screen* screen = CurrentScreen();
    if (screen == nullptr) return {};
    KeyBuffer& keys = screen->input.keys;
    if (keys.read_index != keys.write_index) {
      code = keys.codes[keys.read_index];
      keys.read_index = (keys.read_index + 1) % KeyBuffer::kSlots;
    }
    Lock nested(ScreenLock());  // the lock counts nested takes by its holder
    keys.arrived = 0;
  }
  if (code == 0) return {};
  if (code <= 255) return std::string(1, static_cast<char>(code & 0xFF));
  return std::string{static_cast<char>(0xFF), static_cast<char>((code >> 8) & 0xFF)};
}

// Mode 1 (and any mode other than 0) is a plain sleep that keys neither shorten nor touch;
// a negative duration there returns at once, since nothing could end it. Mode 0 checks the
// key-arrival flag at once and then every 50 ms, returning when it was set: -1 (or any
// negative duration) waits without limit, other durations at most that long. The key stays
// in the buffer for ReadKey.
int32_t SleepMs(int32_t milliseconds, int32_t mode) {
  if (mode == 0) {
    WaitForKey(milliseconds);
  } else {
    PauseMs(milliseconds);
  }
  return 0;
}

}  // namespace layer
