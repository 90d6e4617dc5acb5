// SPDX-License-Identifier: MIT
// The game's input operations against a screen on the headless back-end: mouse queries, key
// reads, the key wait, and ending the program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "input/input_state.h"
#include "layer/layer.h"
#include "support/headless_screen.h"
#include "support/input_messages.h"
#include "testing/test_seams.h"

namespace {

using namespace input_messages;
using namespace std::chrono_literals;

constexpr auto kReturnBound = 5s;  // far beyond any wait that should end

// Runs SleepMs on a thread of its own; the future is ready once it returned.
std::future<int32_t> StartSleep(int32_t milliseconds, int32_t mode) {
  auto returned = std::make_shared<std::promise<int32_t>>();
  std::future<int32_t> future = returned->get_future();
  std::thread([=] { returned->set_value(layer::SleepMs(milliseconds, mode)); }).detach();
  return future;
}

bool Returns(std::future<int32_t>& sleep) {
  return sleep.wait_for(kReturnBound) == std::future_status::ready;
}

struct MouseQuery {
  int32_t status = 0;
  int32_t x = 5, y = 5, wheel = 5, buttons = 5, confinement = 5;
};

MouseQuery Query() {
  MouseQuery q;
  q.status = layer::QueryMouse(q.x, q.y, &q.wheel, &q.buttons, &q.confinement);
  return q;
}

void ExpectFailed(const MouseQuery& q) {
  EXPECT_EQ(q.status, 1);
  EXPECT_EQ(q.x, -1);
  EXPECT_EQ(q.y, -1);
  EXPECT_EQ(q.wheel, -1);
  EXPECT_EQ(q.buttons, -1);
  EXPECT_EQ(q.confinement, -1);
}

TEST(InputWithoutScreen, QueriesFailAndWaitsDoNotHang) {
  layer::testing::CloseScreenForTest();
  ExpectFailed(Query());
  int32_t x = 5;
  int32_t y = 5;
  EXPECT_EQ(layer::QueryMouse(x, y), 1);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);

  EXPECT_EQ(layer::ReadKey(), "");
  std::future<int32_t> key_wait = StartSleep(-1, 0);  // no key can ever come
  EXPECT_TRUE(Returns(key_wait));
}

class InputOps : public HeadlessScreen {
 protected:
  // Hands messages to the window thread and waits until it has handled them.
  static void Send(std::initializer_list<WindowMessage> messages) {
    for (const WindowMessage& message : messages) layer::testing::Headless()->Inject(message);
    layer::testing::WaitForPasses(2);
  }
};

TEST_F(InputOps, QueryReportsPositionAndHeldButtons) {
  Send({Move(100, 200), Wheel(120), Down(1)});
  MouseQuery q = Query();
  EXPECT_EQ(q.status, 0);
  EXPECT_EQ(q.x, 100);
  EXPECT_EQ(q.y, 200);
  EXPECT_EQ(q.wheel, 1);
  EXPECT_EQ(q.buttons, 1);
  EXPECT_EQ(q.confinement, 0);
  EXPECT_EQ(Query().buttons, 1);  // held, not a one-off click

  Send({Down(2)});
  EXPECT_EQ(Query().buttons, 3);
  Send({Up(1), Up(2)});
  EXPECT_EQ(Query().buttons, 0);
}

TEST_F(InputOps, QueryFailsOutsideTheDrawingAreaAndRecovers) {
  Send({Move(30, 40), Down(1)});
  Send({Move(700, 40, false)});
  ExpectFailed(Query());
  Send({Move(31, 41, true)});
  MouseQuery q = Query();
  EXPECT_EQ(q.status, 0);
  EXPECT_EQ(q.x, 31);
  EXPECT_EQ(q.buttons, 1);
}

TEST_F(InputOps, QueryFailsWhileInactiveAndTheActivatingClickCounts) {
  Send({Move(10, 10), Activate(false)});
  ExpectFailed(Query());
  Send({Activate(true, true)});  // restored to the task bar only
  ExpectFailed(Query());
  Send({Activate(true), Down(1)});
  MouseQuery q = Query();
  EXPECT_EQ(q.status, 0);
  EXPECT_EQ(q.buttons, 1);
}

TEST_F(InputOps, ReadKeyGivesKeyStringsInOrder) {
  EXPECT_EQ(layer::ReadKey(), "");
  Send({Character('a'), KeyDown(72, 1, true), KeyDown(59), Message(MessageKind::kClose),
        Character(0xFF), Character(0)});
  EXPECT_EQ(layer::ReadKey(), "a");
  EXPECT_EQ(layer::ReadKey(), "\xFF\x48");  // Up
  EXPECT_EQ(layer::ReadKey(), "\xFF;");     // F1 is 59
  EXPECT_EQ(layer::ReadKey(), "\xFFk");     // close button
  EXPECT_EQ(layer::ReadKey(), "\xFF");      // a character 255 is one byte
  EXPECT_EQ(layer::ReadKey(), "");          // a stored 0 reads as no key
  EXPECT_EQ(layer::ReadKey(), "");
}

TEST_F(InputOps, SixteenKeysWithoutAReadLoseTheFirst) {
  for (char c = 'a'; c < 'a' + 16; ++c) layer::testing::Headless()->Inject(Character(c));
  layer::testing::WaitForPasses(2);
  for (char c = 'b'; c < 'a' + 16; ++c) EXPECT_EQ(layer::ReadKey(), std::string(1, c));
  EXPECT_EQ(layer::ReadKey(), "");
}

TEST_F(InputOps, KeyWaitReturnsForAnEarlierKeyAndLeavesIt) {
  Send({KeyDown(59)});
  layer::SleepMs(1, 1);  // a plain sleep neither takes the key nor its arrival
  std::future<int32_t> key_wait = StartSleep(-1, 0);
  ASSERT_TRUE(Returns(key_wait));
  EXPECT_EQ(key_wait.get(), 0);
  EXPECT_EQ(layer::ReadKey(), "\xFF;");
}

TEST_F(InputOps, KeyWaitAfterAReadWaitsForTheNextKey) {
  Send({Character('q')});
  EXPECT_EQ(layer::ReadKey(), "q");  // the read clears the arrival flag
  std::future<int32_t> key_wait = StartSleep(-1, 0);
  EXPECT_EQ(key_wait.wait_for(150ms), std::future_status::timeout);
  Send({Message(MessageKind::kClose)});
  EXPECT_TRUE(Returns(key_wait));
  EXPECT_EQ(layer::ReadKey(), "\xFFk");
}

TEST_F(InputOps, SleepsThatNothingCouldEndReturn) {
  std::future<int32_t> plain_endless = StartSleep(-1, 1);
  EXPECT_TRUE(Returns(plain_endless));
  std::future<int32_t> timed_key_wait = StartSleep(60, 0);
  EXPECT_TRUE(Returns(timed_key_wait));
}

struct EndRequested {
  int32_t status;
};

TEST(EndProgram, HookSeesTheStatusAndCanUnwind) {
  layer::testing::SetEndProgramHook([](int32_t status) { throw EndRequested{status}; });
  try {
    layer::EndProgram(7);
    ADD_FAILURE() << "EndProgram returned";
  } catch (const EndRequested& end) {
    EXPECT_EQ(end.status, 7);
  }
  layer::testing::SetEndProgramHook(nullptr);
}

TEST(EndProgramDeathTest, RunsExitHandlersAndExitsWithTheStatus) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::atexit([] { std::fputs("exit handler ran\n", stderr); });
        layer::EndProgram(3);
      },
      ::testing::ExitedWithCode(3), "exit handler ran");
  // The screen closes on the way out: its window thread stops before the process ends.
  EXPECT_EXIT(
      {
        std::atexit([] {  // registered first, so it runs after the screen's own handler
          std::lock_guard<std::recursive_mutex> lock(layer::ScreenLock());
          std::fputs(layer::CurrentScreen() == nullptr ? "closed\n" : "still open\n", stderr);
        });
        layer::testing::UseHeadlessBackend();
        if (layer::OpenScreen(64, 48, 32, 0, 0, 0) != 0) std::abort();
        layer::EndProgram(4);
      },
      ::testing::ExitedWithCode(4), "closed");
  // A hook that returns does not keep the process alive.
  EXPECT_EXIT(
      {
        layer::testing::SetEndProgramHook([](int32_t) {});
        layer::EndProgram(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
