// SPDX-License-Identifier: MIT
// The window procedure's input side, driven directly with messages and a fake window system.
#include "input/input_state.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_pointer.h"
#include "support/input_messages.h"

namespace {

using layer::InputState;
using layer::KeyBuffer;
using layer::MessageKind;
using layer::WindowMessage;
using namespace input_messages;

// The codes waiting in the buffer, oldest first.
std::vector<int32_t> Waiting(const KeyBuffer& keys) {
  std::vector<int32_t> codes;
  for (int32_t i = keys.read_index; i != keys.write_index; i = (i + 1) % KeyBuffer::kSlots) {
    codes.push_back(keys.codes[i]);
  }
  return codes;
}

class InputStateTest : public ::testing::Test {
 protected:
  void Handle(const WindowMessage& message) { layer::HandleMessage(state, message, pointer); }

  InputState state;
  FakePointer pointer;
};

TEST_F(InputStateTest, MovesStorePositionAsUnsigned16Bits) {
  Handle(Move(100, 650));
  EXPECT_EQ(state.mouse.x, 100);
  EXPECT_EQ(state.mouse.y, 650);
  Handle(Move(-1, 65536 + 7));
  EXPECT_EQ(state.mouse.x, 65535);
  EXPECT_EQ(state.mouse.y, 7);
}

TEST_F(InputStateTest, InsideIsRecomputedForEveryMessage) {
  Handle(Move(5, 5, true));
  EXPECT_TRUE(state.mouse.inside);
  WindowMessage typed = Character('a');
  typed.pointer_inside = false;
  Handle(typed);
  EXPECT_FALSE(state.mouse.inside);
  Handle(Wheel(120));
  EXPECT_TRUE(state.mouse.inside);
  EXPECT_EQ(state.mouse.x, 5);  // only moves change the position
}

TEST_F(InputStateTest, ButtonsAreHeldUntilReleasedAndCaptureFollowsThem) {
  Handle(Down(1));
  EXPECT_EQ(state.mouse.buttons, 1);
  EXPECT_TRUE(pointer.captured);
  Handle(Move(10, 10));
  EXPECT_EQ(state.mouse.buttons, 1);
  Handle(Down(2));
  EXPECT_EQ(state.mouse.buttons, 3);
  Handle(Up(1));
  EXPECT_EQ(state.mouse.buttons, 2);
  EXPECT_TRUE(pointer.captured);  // right still held
  Handle(Up(2));
  EXPECT_EQ(state.mouse.buttons, 0);
  EXPECT_FALSE(pointer.captured);
  EXPECT_EQ(pointer.releases, 1);

  // A release without a capture held does not release again.
  Handle(Down(4));
  pointer.captured = false;
  Handle(Up(4));
  EXPECT_EQ(pointer.releases, 1);
}

TEST_F(InputStateTest, ExtraButtonsAreBits8And16AndUnknownButtonsAreIgnored) {
  Handle(Down(8));
  Handle(Down(16));
  Handle(Down(32));
  EXPECT_EQ(state.mouse.buttons, 24);
  EXPECT_EQ(pointer.captures, 2);
  Handle(Up(8));
  EXPECT_EQ(state.mouse.buttons, 16);
}

TEST_F(InputStateTest, ActivationSetsActiveAndClearsButtons) {
  Handle(Down(1));
  Handle(Activate(false));
  EXPECT_FALSE(state.mouse.active);
  EXPECT_EQ(state.mouse.buttons, 0);
  Handle(Activate(true, true));  // activated but minimized
  EXPECT_FALSE(state.mouse.active);
  // The click that activates the window counts: activation first, then the button.
  Handle(Activate(true));
  EXPECT_TRUE(state.mouse.active);
  Handle(Down(1));
  EXPECT_EQ(state.mouse.buttons, 1);
}

TEST_F(InputStateTest, WheelCountsTurnsNotTheirSize) {
  for (int32_t turn : {120, 1, 360}) Handle(Wheel(turn));
  EXPECT_EQ(state.mouse.wheel, 3);
  Handle(Wheel(-240));
  EXPECT_EQ(state.mouse.wheel, 2);
  Handle(Wheel(0));  // a sideways scroll
  EXPECT_EQ(state.mouse.wheel, 2);
}

TEST_F(InputStateTest, LeaveNoticeIsRequestedOncePerStayWhileActive) {
  Handle(Move(1, 1));
  Handle(Move(2, 2));
  EXPECT_EQ(pointer.leave_requests, 1);
  EXPECT_TRUE(state.mouse.leave_tracking);
  Handle(Message(MessageKind::kMouseLeave, false));
  EXPECT_FALSE(state.mouse.leave_tracking);
  EXPECT_FALSE(state.mouse.inside);
  Handle(Move(3, 3));
  EXPECT_EQ(pointer.leave_requests, 2);

  // Inactive: moves ask for nothing.
  Handle(Message(MessageKind::kMouseLeave, false));
  Handle(Activate(false));
  Handle(Move(4, 4));
  EXPECT_EQ(pointer.leave_requests, 2);
}

TEST_F(InputStateTest, LeaveDeliveredWhileInactiveLetsTheNextStayAskAgain) {
  Handle(Move(1, 1));
  Handle(Activate(false));
  Handle(Message(MessageKind::kMouseLeave, false));
  Handle(Activate(true));
  Handle(Move(2, 2));
  EXPECT_EQ(pointer.leave_requests, 2);
}

TEST_F(InputStateTest, MouseMessagesAddNoKeys) {
  Handle(Move(1, 1));
  Handle(Down(1));
  Handle(Up(1));
  Handle(Wheel(1));
  Handle(Activate(true));
  Handle(Message(MessageKind::kMouseLeave, false));
  EXPECT_TRUE(Waiting(state.keys).empty());
  EXPECT_EQ(state.keys.arrived, 0);
}

TEST_F(InputStateTest, CharactersAreAddedOncePerRepeat) {
  Handle(Character('b', 0));  // no repeat: nothing
  Handle(Character(256));     // not a byte: ignored
  Handle(Character(-3));
  EXPECT_EQ(state.keys.arrived, 0);
  Handle(Character(0));  // added, though it reads as no key
  EXPECT_EQ(state.keys.arrived, 1);
  Handle(Character('a'));
  Handle(Character(0x84, 2));  // a code page 437 byte above 127
  EXPECT_EQ(Waiting(state.keys), (std::vector<int32_t>{0, 'a', 0x84, 0x84}));
}

TEST_F(InputStateTest, KeyDownAddsExtendedCodesOnly) {
  Handle(KeyDown(59, 2));  // F1, auto-repeated
  Handle(KeyDown(30));     // A: typed characters come as character messages
  Handle(KeyDown(68, 1, false, MessageKind::kSystemKeyDown));  // F10
  WindowMessage alt_x = KeyDown(45, 1, false, MessageKind::kSystemKeyDown);
  alt_x.key.alt = true;
  Handle(alt_x);
  Handle(Message(MessageKind::kClose));
  EXPECT_EQ(Waiting(state.keys), (std::vector<int32_t>{0x3BFF, 0x3BFF, layer::kCloseKey}));
}

TEST_F(InputStateTest, RepeatBeyondTheBufferLeavesItFullOfThatKey) {
  Handle(Character('x'));
  Handle(KeyDown(72, 1000000));  // keypad Up, held for a very long time
  EXPECT_EQ(Waiting(state.keys), std::vector<int32_t>(15, 0x48FF));
}

// (Sixteen keys without a read losing the first are checked through ReadKey.)
TEST(KeyBuffer, KeepsTheNewestCodesAcrossManyWraps) {
  KeyBuffer keys;
  for (int32_t code = 1; code <= 16; ++code) layer::AddKey(keys, code);
  keys.read_index = (keys.read_index + 5) % KeyBuffer::kSlots;  // five codes read
  keys.arrived = 0;
  for (int32_t code = 17; code <= 46; ++code) layer::AddKey(keys, code);
  std::vector<int32_t> expected;
  for (int32_t code = 32; code <= 46; ++code) expected.push_back(code);
  EXPECT_EQ(Waiting(keys), expected);
  EXPECT_EQ(keys.arrived, 1);
}

}  // namespace
