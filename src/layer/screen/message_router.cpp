// SPDX-License-Identifier: MIT
#include "screen/message_router.h"

#include "screen/window_scale.h"

namespace layer {
namespace {

// What the input state asks of the window system: the back-end's, with the pacer told of
// every leave notice asked for (it lets only those through).
class RoutedPointer final : public PointerControl {
 public:
  RoutedPointer(Backend& backend, MessagePacer& pacer) : backend_(backend), pacer_(pacer) {}
  void CaptureMouse() override { backend_.CaptureMouse(); }
  void ReleaseMouse() override { backend_.ReleaseMouse(); }
  bool HoldsCapture() const override { return backend_.HoldsCapture(); }
  void RequestLeaveNotice() override {
    backend_.RequestLeaveNotice();
    pacer_.RequestLeaveNotice();
  }

 private:
  Backend& backend_;
  MessagePacer& pacer_;
};

}  // namespace

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

bool MessageRouter::Route(Backend& backend, InputState& input, const MessageSink& handed) {
  RoutedPointer pointer(backend, pacer_);
  const MessageSink to_input = [&input, &pointer, &handed](const WindowMessage& message) {
    HandleMessage(input, message, pointer);
    handed(message);
  };
  pacer_.BeginPass(to_input);
  return backend.Pump([this, &backend, &to_input](const WindowMessage& message) {
    pacer_.Deliver(BoardMessage(message, backend.PointerInside(), backend.Scale()), to_input);
  });
}

}  // namespace layer
