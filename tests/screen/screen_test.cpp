// SPDX-License-Identifier: MIT
// The screen's life: opening, clearing, colours, the window thread's copies to the window.
#include "screen/screen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/headless_screen.h"

namespace {

using layer::WindowMessage;
using layer::testing::Headless;
using layer::testing::WaitForPasses;

TEST(ScreenOpening, RejectsBadSizesAndDepthsAndOpensNothing) {
  layer::testing::UseHeadlessBackend();
  EXPECT_EQ(layer::OpenScreen(0, 651, 32, 0, 0, 0), 1);
  EXPECT_EQ(layer::OpenScreen(651, -1, 32, 0, 0, 0), 1);
  EXPECT_EQ(layer::OpenScreen(651, 651, 12, 0, 0, 0), 1);
  EXPECT_EQ(layer::OpenScreen(651, 651, 64, 0, 0, 0), 1);
  layer::ScreenDescription info;
  EXPECT_EQ(layer::ScreenInfo(info), 1);
  layer::testing::CloseScreenForTest();
}

TEST(ScreenOpening, WithoutAnyDisplayFailsAndDrawingDoesNothing) {
  layer::SetBackendFactory([] { return layer::BackendList{}; });
  EXPECT_EQ(layer::OpenScreen(651, 651, 32, 0, 0, 0), 1);
  EXPECT_EQ(layer::CurrentScreen(), nullptr);
  layer::ClearScreen(layer::kClearWholeScreen);
  layer::DrawLine(0, 0, 10, 10, 0, 0, 0xFFFF, 0);
  layer::ScreenDescription info;
  EXPECT_EQ(layer::ScreenInfo(info), 1);
  layer::testing::CloseScreenForTest();
}

TEST_F(HeadlessScreen, DescribesTheGamesScreen) {
  layer::ScreenDescription info;
  ASSERT_EQ(layer::ScreenInfo(info), 0);
  EXPECT_EQ(info.width, 651);
  EXPECT_EQ(info.height, 651);
  EXPECT_EQ(info.depth, 32);
  EXPECT_EQ(info.bytes_per_pixel, 4);
  EXPECT_EQ(info.pitch, 2604);
  EXPECT_EQ(info.backend, "headless");
}

TEST_F(HeadlessScreen, ClearsToOpaqueBlackAlsoAfterTheGamesColourCall) {
  layer::ClearScreen(layer::kClearWholeScreen);
  EXPECT_EQ(Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(Pixel(650, 650), 0xFF000000u);
  // The game's menu loop sets only the foreground; the background stays black.
  EXPECT_EQ(layer::SetColour(0xFFFFFF, 0, 2), 0xFFFFFFFFu);
  EXPECT_EQ(layer::SetColour(0xFFFFFF, 0, 3), 0x00FFFFFFu);
  layer::DrawLine(0, 5, 650, 5, 0x123456, 0, 0xFFFF, 0);
  layer::ClearScreen(layer::kClearWholeScreen);
  for (int32_t x : {0, 325, 650}) EXPECT_EQ(Pixel(x, 5), 0xFF000000u);
}

TEST_F(HeadlessScreen, SetColourKeepsWhatItIsNotGiven) {
  layer::SetColour(0x00ABCDEF, 0x00123456, 0);
  layer::ClearScreen(layer::kClearWholeScreen);
  EXPECT_EQ(Pixel(7, 7), 0x00123456u);
  EXPECT_EQ(layer::SetColour(0, 0xFF, 1), 0x00ABCDEFu);  // foreground kept
  layer::ClearScreen(layer::kClearWholeScreen);
  EXPECT_EQ(Pixel(7, 7), 0x000000FFu);
  // The foreground is used only when a call's flags ask for it.
  layer::DrawLine(3, 3, 3, 3, 0x111111, 0, 0xFFFF, layer::kUseForegroundColour);
  EXPECT_EQ(Pixel(3, 3), 0x00ABCDEFu);
}

TEST_F(HeadlessScreen, WindowThreadCopiesChangedRowsToTheWindow) {
  layer::ClearScreen(layer::kClearWholeScreen);
  WaitForPasses(2);
  EXPECT_EQ(Headless()->ShownPixel(100, 100), 0xFF000000u);
  layer::DrawLine(10, 100, 20, 100, 0x00AA0000, 0, 0xFFFF, 0);
  WaitForPasses(2);
  EXPECT_EQ(Headless()->ShownPixel(15, 100), 0x00AA0000u);
  EXPECT_EQ(Headless()->ShownPixel(15, 101), 0xFF000000u);
}

TEST_F(HeadlessScreen, UncoveredWindowIsRepaintedWhole) {
  layer::ClearScreen(layer::kClearWholeScreen);
  WaitForPasses(2);
  // Change a pixel behind the window thread's back (no row mark): only a whole repaint shows it.
  {
    std::lock_guard<std::recursive_mutex> lock(layer::ScreenLock());
    layer::PutPixel(*layer::CurrentScreen(), 600, 600, 0x00FFFFFF);
  }
  WaitForPasses(2);
  EXPECT_EQ(Headless()->ShownPixel(600, 600), 0xFF000000u);
  Headless()->InjectExpose();
  WaitForPasses(2);
  EXPECT_EQ(Headless()->ShownPixel(600, 600), 0x00FFFFFFu);
}

TEST_F(HeadlessScreen, OpeningAgainReplacesTheScreenAndItsDrawingState) {
  layer::SetColour(0, 0x00445566, 0);
  ASSERT_EQ(layer::OpenScreen(320, 200, 32, 0, 0, 0), 0);
  layer::ScreenDescription info;
  ASSERT_EQ(layer::ScreenInfo(info), 0);
  EXPECT_EQ(info.width, 320);
  EXPECT_EQ(info.pitch, 1280);
  // A new screen starts with a fresh drawing state: black background again.
  layer::ClearScreen(layer::kClearWholeScreen);
  EXPECT_EQ(Pixel(319, 199), 0xFF000000u);
}

// Another thread keeps drawing, querying and waiting while screens open and close under it:
// nothing it calls may touch a screen that is being freed.
TEST(ScreenClosing, OtherThreadsMayUseTheScreenWhileItCloses) {
  layer::testing::UseHeadlessBackend();
  std::atomic<bool> done{false};
  std::thread user([&done] {
    while (!done.load()) {
      int32_t x = 0;
      int32_t y = 0;
      layer::QueryMouse(x, y);
      layer::ReadKey();
      layer::SetColour(0x00112233, 0x00445566, 0);
      layer::ClearScreen(layer::kClearWholeScreen);
      layer::DrawLine(0, 0, 40, 30, 0x00AA0000, 0, 0xFFFF, 0);
      layer::ScreenDescription info;
      layer::ScreenInfo(info);
    }
  });
  std::thread waiter([&done] {
    while (!done.load()) layer::AwaitNextPass();
  });
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(layer::OpenScreen(64, 48, 32, 0, 0, 0), 0);
    WaitForPasses(1);
    layer::CloseScreen();
  }
  done.store(true);
  user.join();
  waiter.join();
  layer::testing::CloseScreenForTest();
}

class QuietWindowThread : public ::testing::Test {
 protected:
  void SetUp() override {
    layer::testing::UseHeadlessBackend(/*with_event_source=*/true);
    ASSERT_EQ(layer::OpenScreen(651, 651, 32, 0, 0, 0), 0);
    WaitForPasses(3);  // the start-up repaint is done: the thread has nothing left to do
  }
  void TearDown() override { layer::testing::CloseScreenForTest(); }
};

TEST_F(QuietWindowThread, StillShowsDrawingAndTakesInput) {
  layer::DrawLine(10, 300, 20, 300, 0x00AA0000, 0, 0xFFFF, 0);
  WaitForPasses(1);
  EXPECT_EQ(Headless()->ShownPixel(15, 300), 0x00AA0000u);

  WindowMessage key;
  key.kind = layer::MessageKind::kCharacter;
  key.character = 'z';
  Headless()->Inject(key);
  layer::AwaitNextPass();
  WaitForPasses(1);
  EXPECT_EQ(layer::ReadKey(), "z");
}

// At rest the window thread and a poll loop each wake about twice a second: under Wine every
// wake is a round trip to its server, so idle wakes are what an idle game costs.
TEST_F(QuietWindowThread, WakesRarelyAtRest) {
  const int32_t pumps = Headless()->Pumps();
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_LE(Headless()->Pumps() - pumps, 3);

  layer::AwaitNextPass();  // catches up with the input handed over so far
  const auto start = std::chrono::steady_clock::now();
  layer::AwaitNextPass();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
}

TEST(CoordinateRounding, HalvesGoAwayFromZero) {
  EXPECT_EQ(layer::RoundCoordinate(103.5f), 104);
  EXPECT_EQ(layer::RoundCoordinate(-0.5f), -1);
  EXPECT_EQ(layer::RoundCoordinate(0.49999997f), 0);
  EXPECT_EQ(layer::RoundCoordinate(-2.4f), -2);
  EXPECT_EQ(layer::RoundCoordinate(1e30f), INT32_MAX);
  EXPECT_EQ(layer::RoundCoordinate(-1e30f), INT32_MIN);
}

}  // namespace
