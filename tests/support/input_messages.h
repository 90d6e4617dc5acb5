// SPDX-License-Identifier: MIT
// Window messages as a back-end would hand them over, for the input tests.
#pragma once

#include <cstdint>

#include "input/window_message.h"

namespace input_messages {

using layer::MessageKind;
using layer::WindowMessage;

inline WindowMessage Message(MessageKind kind, bool inside = true) {
  WindowMessage message;
  message.kind = kind;
  message.pointer_inside = inside;
  return message;
}

inline WindowMessage Move(int32_t x, int32_t y, bool inside = true) {
  WindowMessage message = Message(MessageKind::kMouseMove, inside);
  message.x = x;
  message.y = y;
  return message;
}

inline WindowMessage Down(int32_t button) {
  WindowMessage message = Message(MessageKind::kButtonDown);
  message.button = button;
  return message;
}

inline WindowMessage Up(int32_t button) {
  WindowMessage message = Message(MessageKind::kButtonUp);
  message.button = button;
  return message;
}

inline WindowMessage Wheel(int32_t turn) {
  WindowMessage message = Message(MessageKind::kWheel);
  message.wheel_turn = turn;
  return message;
}

inline WindowMessage Activate(bool activated, bool minimized = false) {
  WindowMessage message = Message(MessageKind::kActivate);
  message.activated = activated;
  message.minimized = minimized;
  return message;
}

inline WindowMessage Character(int32_t character, int32_t repeat = 1) {
  WindowMessage message = Message(MessageKind::kCharacter);
  message.character = character;
  message.repeat = repeat;
  return message;
}

inline WindowMessage KeyDown(int32_t scan_code, int32_t repeat = 1, bool enhanced = false,
                             MessageKind kind = MessageKind::kKeyDown) {
  WindowMessage message = Message(kind);
  message.key.scan_code = scan_code;
  message.key.enhanced = enhanced;
  message.repeat = repeat;
  return message;
}

}  // namespace input_messages
