// SPDX-License-Identifier: MIT
// The window thread's pauses: how often passes that hand over input may come, and a drawing
// made on seeing a press reaching the window before the next pass.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "desktop/input_pass_pacing.h"
#include "support/headless_screen.h"
#include "support/input_messages.h"

namespace {

using namespace std::chrono_literals;
using Clock = layer::InputPassPacing::Clock;

TEST(InputPassPacing, ARunGoesAtOnceThenPassesKeepTheAverageGap) {
  layer::InputPassPacing pacing(2ms, 4);
  Clock::time_point now{1s};
  for (int pass = 0; pass < 4; ++pass) {
    EXPECT_EQ(pacing.PauseAfterInputPass(now), Clock::duration::zero()) << "pass " << pass;
  }
  // Input that never stops: each pass runs as soon as it may.
  int passes = 4;
  const Clock::time_point end = now + 1s;
  while (now < end) {
    now += pacing.PauseAfterInputPass(now);
    ++passes;
  }
  EXPECT_LE(passes, 1000 / 2 + 4) << "a run of 4, then one per 2 ms";
  EXPECT_GE(passes, 1000 / 2);
  // After a quiet spell as long as the run, a whole run may go at once again.
  now += 8ms + 1ms;
  for (int pass = 0; pass < 4; ++pass) {
    EXPECT_EQ(pacing.PauseAfterInputPass(now), Clock::duration::zero()) << "again " << pass;
  }
  EXPECT_GT(pacing.PauseAfterInputPass(now), Clock::duration::zero());
}

using DrawingAfterAPress = HeadlessScreen;

// Injects a press of the left button and waits until the game's reads see it held.
bool PressAndSeeIt(layer::HeadlessBackend* window, Clock::time_point give_up) {
  window->Inject(input_messages::Down(1));
  int32_t x = 0;
  int32_t y = 0;
  int32_t buttons = 0;
  while ((layer::QueryMouse(x, y, nullptr, &buttons), buttons != 1) && Clock::now() < give_up) {
    layer::AwaitNextPass();
  }
  return buttons == 1;
}

// The pass that hands over a press is followed by a whole refresh period before the next
// one, so that the game sees the press before its release; the cross it draws meanwhile goes
// to the window at once. A pass that comes between the drawing and its showing (a stalled
// machine) spoils one try, so the test allows a few.
TEST_F(DrawingAfterAPress, ReachesTheWindowBeforeTheNextPass) {
  layer::HeadlessBackend* window = layer::testing::Headless();
  bool shown_before_next_pass = false;
  window->Inject(input_messages::Move(300, 300));
  for (int attempt = 0; attempt < 5 && !shown_before_next_pass; ++attempt) {
    const auto give_up = Clock::now() + 2s;
    ASSERT_TRUE(PressAndSeeIt(window, give_up));
    const int32_t pumps = window->Pumps();
    const int32_t row = 100 + attempt;
    const uint32_t colour = 0x123456 + static_cast<uint32_t>(attempt);
    layer::DrawLine(10, static_cast<float>(row), 20, static_cast<float>(row), colour, 0,
                    0xFFFF, 0);
    while (window->ShownPixel(15, row) != colour && Clock::now() < give_up) {
      std::this_thread::sleep_for(100us);
    }
    ASSERT_EQ(window->ShownPixel(15, row), colour);
    shown_before_next_pass = window->Pumps() == pumps;
    window->Inject(input_messages::Up(1));
    layer::testing::WaitForPasses(2);
  }
  EXPECT_TRUE(shown_before_next_pass);
}

// Every drawing of that period goes out on the wake-up its row mark causes, not when the
// period ends: three drawings, each made once the one before is seen, all reach the window
// before the next pass pumps. Were drawings left for the end of the period, at most two
// could (one drawn before it began, one at its end); the third would wait for a pass, whose
// pump is done by the time the screen lock is free again.
TEST_F(DrawingAfterAPress, EachDrawingGoesOutOnItsOwnWakeUp) {
  layer::HeadlessBackend* window = layer::testing::Headless();
  bool all_before_next_pass = false;
  window->Inject(input_messages::Move(300, 300));
  for (int attempt = 0; attempt < 5 && !all_before_next_pass; ++attempt) {
    const auto give_up = Clock::now() + 2s;
    ASSERT_TRUE(PressAndSeeIt(window, give_up));
    const int32_t pumps = window->Pumps();
    for (int drawing = 0; drawing < 3; ++drawing) {
      const int32_t row = 200 + 3 * attempt + drawing;
      const uint32_t colour = 0x654321 + static_cast<uint32_t>(row);
      const auto at = static_cast<float>(row);
      layer::DrawLine(10, at, 20, at, colour, 0, 0xFFFF, 0);
      while (window->ShownPixel(15, row) != colour && Clock::now() < give_up) {
        std::this_thread::yield();
      }
      ASSERT_EQ(window->ShownPixel(15, row), colour);
    }
    {
      std::lock_guard<std::recursive_mutex> lock(layer::ScreenLock());
      all_before_next_pass = window->Pumps() == pumps;
    }
    window->Inject(input_messages::Up(1));
    layer::testing::WaitForPasses(2);
  }
  EXPECT_TRUE(all_before_next_pass);
}

}  // namespace
