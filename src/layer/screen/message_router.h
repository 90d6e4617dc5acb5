// SPDX-License-Identifier: MIT
// The one route of a window message from the back-end to the input state, the same for every
// window system.
#pragma once

#include <cstdint>

#include "backends/backend.h"
#include "input/input_state.h"
#include "input/message_pacer.h"
#include "input/window_message.h"

namespace layer {

// Takes each message a back-end's Pump hands over and, in this order:
// 1. sets its pointer-inside flag as the back-end answers for it (PointerInside);
// 2. turns its pointer position from window pixels into framebuffer pixels (the back-end's
//    Scale);
// 3. paces it (MessagePacer): it goes on now or waits for the next pass;
// 4. applies it to the mouse state and the key buffer (HandleMessage).
class MessageRouter {
 public:
  struct Routed {
    bool repaint = false;   // what Pump returned: the window needs repainting whole
    uint64_t messages = 0;  // messages that reached the input state
    bool pressed = false;   // among them a button press
  };
  // One pass: the messages held over from the last pass, then those backend.Pump hands over.
  Routed Route(Backend& backend, InputState& input);
  // Whether messages wait for the next pass, which must then come soon.
  bool HoldsMessages() const { return pacer_.HoldsMessages(); }

 private:
  MessagePacer pacer_;
};

// Steps 1 and 2 for one message: the flag set, and a pointer position (moves and buttons) in
// window pixels divided by the window's scale.
WindowMessage BoardMessage(const WindowMessage& message, bool pointer_inside, int32_t scale);

}  // namespace layer
