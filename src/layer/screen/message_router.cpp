// SPDX-License-Identifier: MIT
#include "screen/message_router.h"

#include "screen/window_scale.h"

namespace layer {

WindowMessage BoardMessage(const WindowMessage& message, bool pointer_inside, int32_t scale) {
  WindowMessage board = message;
  board.pointer_inside = pointer_inside;
  if (message.kind == MessageKind::kMouseMove || message.kind == MessageKind::kButtonDown ||
      message.kind == MessageKind::kButtonUp) {
    board.x = UnscaledPosition(message.x, scale);
    board.y = UnscaledPosition(message.y, scale);
  }
  return board;
}

MessageRouter::Routed MessageRouter::Route(Backend& backend, InputState& input) {
  Routed routed;
  const MessageSink to_input = [this, &input, &backend, &routed](const WindowMessage& message) {
    const bool tracking = input.mouse.leave_tracking;
    HandleMessage(input, message, backend);
    // The input state asked the window for a leave notice: the pacer lets that one through.
    if (input.mouse.leave_tracking && !tracking) pacer_.RequestLeaveNotice();
    ++routed.messages;
    if (message.kind == MessageKind::kButtonDown) routed.pressed = true;
  };
  pacer_.BeginPass(to_input);
  routed.repaint = backend.Pump([this, &backend, &to_input](const WindowMessage& message) {
    pacer_.Deliver(BoardMessage(message, backend.PointerInside(), backend.Scale()), to_input);
  });
  return routed;
}

}  // namespace layer
