// SPDX-License-Identifier: MIT
// A burst of input in one window-thread pass: the quick-click mend holds back only a bounded
// part of it, and everything has gone on by the end of the next pass.
#include "input/message_pacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "input/input_state.h"
#include "support/fake_pointer.h"

namespace {

using layer::MessageKind;
using layer::WindowMessage;

WindowMessage Input(MessageKind kind, int32_t button = 0) {
  WindowMessage message;
  message.kind = kind;
  message.pointer_inside = true;
  message.button = button;
  message.character = 'x';
  return message;
}

TEST(InputBurst, ClicksMovesAndAKeyInOnePassAllGoOnByTheNextPass) {
  std::vector<WindowMessage> burst;
  for (int32_t i = 0; i < 2000; ++i) {
    WindowMessage move = Input(MessageKind::kMouseMove);
    move.x = i % 651;
    burst.push_back(move);
    if (i % 10 == 0) {  // 200 right clicks
      burst.push_back(Input(MessageKind::kButtonDown, 2));
      burst.push_back(Input(MessageKind::kButtonUp, 2));
    }
    if (i % 20 == 0) {  // 100 left clicks
      burst.push_back(Input(MessageKind::kButtonDown, 1));
      burst.push_back(Input(MessageKind::kButtonUp, 1));
    }
  }
  burst.push_back(Input(MessageKind::kCharacter));

  layer::MessagePacer pacer;
  layer::InputState state;
  FakePointer pointer;
  const layer::MessageSink sink = [&](const WindowMessage& message) {
    layer::HandleMessage(state, message, pointer);
  };
  pacer.BeginPass(sink);
  for (const WindowMessage& message : burst) pacer.Deliver(message, sink);
  pacer.BeginPass(sink);  // the next pass, with nothing new
  EXPECT_FALSE(pacer.HoldsMessages());
  EXPECT_EQ(state.mouse.buttons, 0);
  EXPECT_EQ(state.mouse.x, 1999 % 651);
  EXPECT_NE(state.keys.read_index, state.keys.write_index) << "the key has not arrived";
}

TEST(InputBurst, AFloodOfClicksIsHeldBackNoFurtherThanTheBoundAndGoesOnInOrder) {
  // Each left click is released within its pass, so from the first release on everything
  // waits, until the bound lets the whole flood through. Keys number the messages.
  layer::MessagePacer pacer;
  std::vector<int32_t> handed_on;
  const layer::MessageSink sink = [&](const WindowMessage& message) {
    handed_on.push_back(message.character);
  };
  pacer.BeginPass(sink);
  int32_t sent = 0;
  for (int32_t click = 0; click < 200; ++click) {
    for (MessageKind kind : {MessageKind::kButtonDown, MessageKind::kButtonUp}) {
      WindowMessage message = Input(kind, 1);
      message.character = sent++;
      pacer.Deliver(message, sink);
      ASSERT_LE(static_cast<size_t>(sent) - handed_on.size(), layer::MessagePacer::kMostHeld)
          << "after message " << sent - 1;
    }
  }
  pacer.BeginPass(sink);
  ASSERT_EQ(handed_on.size(), static_cast<size_t>(sent));
  int32_t in_order = 0;
  while (in_order < sent && handed_on[in_order] == in_order) ++in_order;
  EXPECT_EQ(in_order, sent) << "the flood went on out of order";
}

}  // namespace
