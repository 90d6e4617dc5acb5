// SPDX-License-Identifier: MIT
// How the message router hands the window messages of one pass on to the input state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "input/window_message.h"

namespace layer {

// Hands the messages of each window-thread pass on, so that the game, which looks at the
// buttons between passes, sees every click:
// - a release that follows its press within one pass waits, with what comes after it, for
//   the next pass, which hands all of it on; a run of pointer moves waits as its last one, and
//   no more than kMostHeld messages wait;
// - a button pressed in the same pass as the activation that clears the buttons is pressed
//   again after it (a window system may report the activating click before the focus);
// - a pointer leave goes on only when a leave notice was asked for.
class MessagePacer {
 public:
  // Starts a pass: hands on the messages held over from the last one.
  void BeginPass(const MessageSink& sink);
  // Hands the message on now, or holds it over to the next pass.
  void Deliver(const WindowMessage& message, const MessageSink& sink);
  void RequestLeaveNotice() { leave_notice_requested_ = true; }
  bool HoldsMessages() const { return !held_over_.empty(); }

  static constexpr size_t kMostHeld = 64;

 private:
  // Hands the message on, with the pass's bookkeeping.
  void HandOn(const WindowMessage& message, const MessageSink& sink);

  std::vector<WindowMessage> held_over_;
  int32_t pressed_this_pass_ = 0;
  bool leave_notice_requested_ = false;
};

}  // namespace layer
