// SPDX-License-Identifier: MIT
// The route of a back-end's messages to the input state: each message takes the back-end's
// pointer-inside answer and is scaled as it comes, before the pacer may hold it over a pass.
#include "screen/message_router.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/input_messages.h"

namespace {

using namespace input_messages;

// A window of scale 2 whose next pump hands over the given messages, each with the inside
// answer given beside it.
class ScriptedBackend final : public layer::Backend {
 public:
  std::string Name() const override { return "scripted"; }
  bool Open(const layer::WindowRequest&) override { return true; }
  int32_t RefreshRate() const override { return 0; }
  void Present(const uint8_t*, int32_t, int32_t, int32_t) override {}
  bool Pump(const layer::MessageSink& sink) override {
    for (const auto& [message, answer] : std::exchange(next_, {})) {
      inside = answer;
      sink(message);
    }
    return false;
  }
  void Close() override {}
  bool PointerInside() const override { return inside; }
  int32_t Scale() const override { return 2; }
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  bool HoldsCapture() const override { return false; }
  void RequestLeaveNotice() override { ++leave_notices; }

  std::vector<std::pair<WindowMessage, bool>> next_;
  bool inside = false;
  int leave_notices = 0;
};

class MessageRoute : public ::testing::Test {
 protected:
  void Pass(std::vector<std::pair<WindowMessage, bool>> messages) {
    window_.next_ = std::move(messages);
    handed_ += static_cast<int>(router_.Route(window_, input_).messages);
  }

  ScriptedBackend window_;
  layer::MessageRouter router_;
  layer::InputState input_;
  int handed_ = 0;
};

TEST_F(MessageRoute, EachMessageIsFlaggedAndScaledAsItComesThenPaced) {
  WindowMessage down = Down(1);
  down.pointer_inside = false;  // what a back-end puts in the message itself does not count
  Pass({{Move(1301, 601), true}, {down, true}, {Up(1), true}});
  EXPECT_EQ(input_.mouse.x, 650);
  EXPECT_EQ(input_.mouse.y, 300);
  EXPECT_EQ(input_.mouse.buttons, 1) << "the quick release waits for the next pass";
  EXPECT_TRUE(input_.mouse.inside);
  EXPECT_TRUE(router_.HoldsMessages());
  EXPECT_EQ(handed_, 2);

  window_.inside = false;  // the pointer has left since
  Pass({});
  EXPECT_EQ(input_.mouse.buttons, 0);
  EXPECT_TRUE(input_.mouse.inside) << "the held release keeps the answer it came with";
  EXPECT_FALSE(router_.HoldsMessages());

  // The first move asked the window for a leave notice, and the pacer lets that one through.
  EXPECT_EQ(window_.leave_notices, 1);
  Pass({{Message(MessageKind::kMouseLeave, false), false}});
  EXPECT_FALSE(input_.mouse.leave_tracking);
  EXPECT_EQ(handed_, 4);
}

TEST_F(MessageRoute, TheClickThatActivatesTheWindowKeepsThePointerInside) {
  Pass({{Activate(false), true}});
  // X11 may report the press before the focus: the pacer presses again after the activation.
  Pass({{Down(1), true}, {Activate(true), true}});
  EXPECT_EQ(input_.mouse.buttons, 1);
  EXPECT_TRUE(input_.mouse.inside);
}

}  // namespace
