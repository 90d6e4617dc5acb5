// SPDX-License-Identifier: MIT
// Window messages in a platform-free form. A back-end turns its window system's events into
// these; the input state machine turns them into the mouse state and the key buffer.
#pragma once

#include <cstdint>
#include <functional>

namespace layer {

enum class MessageKind : uint8_t {
  kMouseMove,      // x, y: drawing-area position (window pixels until the router scales them)
  kButtonDown,     // button: 1 left, 2 right, 4 middle, 8 first extra, 16 second extra
  kButtonUp,       // (a double click arrives as kButtonDown)
  kWheel,          // wheel_turn: positive forward, negative backward
  kActivate,       // activated, minimized
  kMouseLeave,     // the pointer left the drawing area (only after leave tracking was asked)
  kCharacter,      // character: code page 437 byte (values above 255 are ignored), repeat
  kKeyDown,        // key: the key's translation inputs, repeat
  kSystemKeyDown,  // a key held with Alt but not Ctrl, or F10: adds nothing
  kClose,          // the window's close button
};

// What a key press brings to the key translation.
struct KeyPress {
  int32_t scan_code = 0;  // PC set-1 scan code, 0..127
  bool enhanced = false;  // the key is one of the enhanced (E0-prefixed) keys
  uint8_t typed = 0;      // code page 437 character the key types with the modifiers, 0 if none
  uint8_t own = 0;        // the key's own unmodified character, 0 if none
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

struct WindowMessage {
  MessageKind kind = MessageKind::kMouseMove;
  // Whether the pointer is inside the drawing area as the message is handled; the message
  // router fills it from the back-end's answer as the back-end hands the message over.
  bool pointer_inside = false;
  int32_t x = 0;
  int32_t y = 0;
  int32_t button = 0;
  int32_t wheel_turn = 0;
  bool activated = false;
  bool minimized = false;
  int32_t character = 0;
  int32_t repeat = 1;
  KeyPress key;
};

// What the input state machine asks of the window system while it handles a message.
class PointerControl {
 public:
  virtual ~PointerControl() = default;
  virtual void CaptureMouse() = 0;        // keep mouse messages while a button is held
  virtual void ReleaseMouse() = 0;        // end that capture
  virtual bool HoldsCapture() const = 0;  // whether the window holds the capture
  virtual void RequestLeaveNotice() = 0;  // send kMouseLeave when the pointer leaves
};

// Where a back-end hands its messages.
using MessageSink = std::function<void(const WindowMessage&)>;

}  // namespace layer
