// SPDX-License-Identifier: MIT
#include "input/message_pacer.h"

namespace layer {
namespace {

WindowMessage Message(MessageKind kind) {
  WindowMessage message;
  message.kind = kind;
  return message;
}

}  // namespace

void MessagePacer::BeginPass(const MessageSink& sink) {
  pressed_this_pass_ = 0;
  std::vector<WindowMessage> waiting;
  waiting.swap(held_over_);
  // What waited one pass goes on whole: holding it again would let a burst of clicks pile up
  // pass after pass, with every later message behind it.
  for (const WindowMessage& message : waiting) HandOn(message, sink);
}

void MessagePacer::Deliver(const WindowMessage& message, const MessageSink& sink) {
  const bool quick_release =
      message.kind == MessageKind::kButtonUp && (message.button & pressed_this_pass_) != 0;
  if (held_over_.empty() && !quick_release) {
    HandOn(message, sink);
    return;
  }
  // Only the last position of a run of pointer moves matters.
  if (message.kind == MessageKind::kMouseMove && !held_over_.empty() &&
      held_over_.back().kind == MessageKind::kMouseMove) {
    held_over_.back() = message;
    return;
  }
  if (held_over_.size() >= kMostHeld) {
    // A flood: let everything through in order rather than hold without bound.
    for (const WindowMessage& held : held_over_) HandOn(held, sink);
    held_over_.clear();
    HandOn(message, sink);
    return;
  }
  held_over_.push_back(message);
}

void MessagePacer::HandOn(const WindowMessage& message, const MessageSink& sink) {
  switch (message.kind) {
    case MessageKind::kButtonDown:
      pressed_this_pass_ |= message.button;
      sink(message);
      break;
    case MessageKind::kMouseLeave:
      if (!leave_notice_requested_) return;
      leave_notice_requested_ = false;
      sink(message);
      break;
    case MessageKind::kActivate:
      sink(message);
      if (message.activated && !message.minimized) {
        for (int32_t bit = 1; bit <= 16; bit <<= 1) {
          if ((pressed_this_pass_ & bit) == 0) continue;
          WindowMessage press = Message(MessageKind::kButtonDown);
          press.button = bit;
          press.pointer_inside = message.pointer_inside;
          sink(press);
        }
      }
      break;
    default:
      sink(message);
      break;
  }
}

}  // namespace layer
