// SPDX-License-Identifier: MIT
// The input side of the window procedure: mouse, keyboard, activation and close messages
// turned into the mouse state and the key buffer.
#include "input/input_state.h"

#include <algorithm>

namespace layer {
namespace {

constexpr int32_t kKnownButtons = 1 | 2 | 4 | 8 | 16;

// A code added `repeat` times: once the buffer has been filled with it, further copies only
// push out copies of the same code, so more than one buffer's worth changes nothing a reader
// can see. Capping the count keeps a huge repeat from stalling the window thread.
void AddRepeated(KeyBuffer& keys, int32_t code, int32_t repeat) {
  const int32_t count = std::min(repeat, KeyBuffer::kSlots);
  for (int32_t i = 0; i < count; ++i) AddKey(keys, code);
}

void PressButton(MouseState& mouse, int32_t button, PointerControl& pointer) {
  const int32_t bits = button & kKnownButtons;
  if (bits == 0) return;
  pointer.CaptureMouse();
  mouse.buttons |= bits;
}

void ReleaseButton(MouseState& mouse, int32_t button, PointerControl& pointer) {
  const int32_t bits = button & kKnownButtons;
  if (bits == 0) return;
  mouse.buttons &= ~bits;
  if (mouse.buttons == 0 && pointer.HoldsCapture()) pointer.ReleaseMouse();
}

// Counts one wheel message, whatever the size of the turn; the count wraps instead of
// overflowing.
void TurnWheel(MouseState& mouse, int32_t turn) {
  if (turn == 0) return;  // no turn along this wheel (a sideways scroll)
  const uint32_t step = turn > 0 ? 1u : ~0u;
  mouse.wheel = static_cast<int32_t>(static_cast<uint32_t>(mouse.wheel) + step);
}

}  // namespace

void AddKey(KeyBuffer& keys, int32_t code) {
  keys.codes[keys.write_index] = code;
  keys.write_index = (keys.write_index + 1) % KeyBuffer::kSlots;
  if (keys.write_index == keys.read_index) {
    keys.read_index = (keys.read_index + 1) % KeyBuffer::kSlots;  // the oldest code is lost
  }
  keys.arrived = 1;
}

void HandleMessage(InputState& state, const WindowMessage& message, PointerControl& pointer) {
  MouseState& mouse = state.mouse;
  mouse.inside = message.pointer_inside;
  switch (message.kind) {
    case MessageKind::kMouseMove:
      mouse.x = static_cast<uint16_t>(message.x);
      mouse.y = static_cast<uint16_t>(message.y);
      if (mouse.active && !mouse.leave_tracking) {
        pointer.RequestLeaveNotice();
        mouse.leave_tracking = true;
      }
      break;
    case MessageKind::kButtonDown:
      PressButton(mouse, message.button, pointer);
      break;
    case MessageKind::kButtonUp:
      ReleaseButton(mouse, message.button, pointer);
      break;
    case MessageKind::kWheel:
      TurnWheel(mouse, message.wheel_turn);
      break;
    case MessageKind::kActivate:
      mouse.active = message.activated && !message.minimized;
      mouse.buttons = 0;
      break;
    case MessageKind::kMouseLeave:
      // The notice has been delivered, so tracking has ended whether or not the window is
      // still active; otherwise a notice arriving while inactive would keep the next moves
      // from asking for a new one.
      mouse.leave_tracking = false;
      break;
    case MessageKind::kCharacter:
      if (message.character >= 0 && message.character <= 255) {
        AddRepeated(state.keys, message.character, message.repeat);
      }
      break;
    case MessageKind::kKeyDown: {
      const int32_t code = TranslateKeyDown(message.key);
      if (code != 0) AddRepeated(state.keys, code, message.repeat);
      break;
    }
    case MessageKind::kSystemKeyDown:
      break;
    case MessageKind::kClose:
      AddKey(state.keys, kCloseKey);
      break;
  }
}

}  // namespace layer
