// SPDX-License-Identifier: MIT
// The window's input state: mouse state and key buffer, written by the window thread while
// it handles messages and read by QueryMouse, ReadKey and the key wait, all under the screen
// lock.
#pragma once

#include <array>
#include <cstdint>

#include "input/window_message.h"

namespace layer {

struct MouseState {
  int32_t x = 0;
  int32_t y = 0;
  int32_t wheel = 0;
  int32_t buttons = 0;  // 1 left, 2 right, 4 middle, 8 and 16 the extra buttons
  bool active = true;   // the window is the active window and not minimized
  bool inside = false;  // the pointer was inside the drawing area at the last message
  bool leave_tracking = false;
};

// Ring of 16 key codes; empty when both indices are equal, so it holds at most 15.
struct KeyBuffer {
  static constexpr int32_t kSlots = 16;
  std::array<int32_t, kSlots> codes{};
  int32_t write_index = 0;
  int32_t read_index = 0;
  int32_t arrived = 0;  // set by every added code, cleared by every read and key-wait check
};

// The close button's key code (the same as Alt+F4's extended code).
inline constexpr int32_t kCloseKey = 0x6BFF;

struct InputState {
  MouseState mouse;
  KeyBuffer keys;
};

// Applies one window message to the input state (the caller holds the screen lock).
void HandleMessage(InputState& state, const WindowMessage& message, PointerControl& pointer);

// Adds a key code: the oldest code is lost when the buffer is full; sets the arrival flag.
void AddKey(KeyBuffer& keys, int32_t code);

// Key translation for a key-down message: the extended key code (b << 8) | 0xFF, or 0 when
// the key gives none (characters arrive as separate character messages).
int32_t TranslateKeyDown(const KeyPress& key);

}  // namespace layer
