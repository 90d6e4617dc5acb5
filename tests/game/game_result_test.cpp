// SPDX-License-Identifier: MIT
// Finding complete lines and the end screen: red rings, banners, waiting for a key.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "game/banners.h"
#include "game/board.h"
#include "game/opponent.h"
#include "game/result.h"
#include "support/game_test_support.h"

namespace {

using game_test::EndStatusOf;
using game_test::GameTest;

class EndScreenTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    OpenBoardScreen();
    // A grey background, so that a mark drawn in the wrong colour cannot hide on black.
    layer::SetColour(0xFFFFFF, 0x404040, 0);
    layer::ClearScreen(layer::kClearWholeScreen);
  }

  // Draws the marks of the current board straight through the layer.
  static void DrawBoardByHand() {
    for (int32_t cell = 1; cell <= 9; ++cell) {
      const float x = static_cast<float>(game_test::CentreX(cell));
      const float y = static_cast<float>(game_test::CentreY(cell));
      if (game::Board[cell] == game::kCross) {
        layer::DrawLine(x - 104, y - 104, x + 104, y + 104, 0, 0, 0xFFFF, 0);
        layer::DrawLine(x - 104, y + 104, x + 104, y - 104, 0, 0, 0xFFFF, 0);
      }
      if (game::Board[cell] == game::kRing) HandRing(cell, 0x0000AA);
    }
  }
  static void HandRing(int32_t cell, uint32_t colour) {
    layer::DrawCircle(game_test::CentreX(cell), game_test::CentreY(cell), 104, colour, 0, 0,
                      layer::kFullCircle, 0, 4);
  }
  static void HandText(int32_t x, int32_t y, std::string_view text) {
    layer::DrawText(x, y, 4, text, 0x0000AA);
  }
  static void HandRows(int32_t x, const std::vector<std::string_view>& rows) {
    for (size_t i = 0; i < rows.size(); ++i)
      HandText(x, 300 + 10 * static_cast<int32_t>(i), rows[i]);
  }

  // Runs f with a key already waiting; the end screen must end the program with status 0.
  template <typename F>
  void ExpectEndScreen(F&& f) {
    game_test::TypeKeyAndWait();
    EXPECT_EQ(EndStatusOf(f), 0);
  }

  // Redraws everything that should be on screen after clearing, and compares.
  template <typename F>
  void ExpectScreenEquals(const std::vector<uint32_t>& actual, F&& draw_expected) {
    layer::ClearScreen(layer::kClearWholeScreen);
    draw_expected();
    EXPECT_EQ(game_test::DifferingPixels(actual, game_test::Snapshot()), 0);
  }
};

const std::vector<std::string_view> kDrawRows = {
    "***  *** *   * * ***", "* *  *   * * * * *  ", "***  *   *   * * *  ", "*    *** *   * * ***",
    "**   *   *   * *   *", "* *  *   *   * *   *", "*  * *** *   * * ***"};
const std::vector<std::string_view> kLostRows = {
    "* *  ***  ***   *    ***  ***   ***  *  *", "* *  *    * *   *    * *  * *   *    ** *",
    "* *  *    ***   *    * *  ***   *    ** *", "* *  ***  *     *    * *  *     ***  * **",
    "* *  *    **    *    * *  **    *    * **", "* *  *    * *   *    * *  * *   *    *  *",
    " *   ***  *  *  ***  ***  *  *  ***  *  *"};
const std::vector<std::string_view> kWonRows = {
    "***  ***  *   *  ***  *  *  ***  *  *", "*    *    *   *  * *  ** *  *    ** *",
    "*    *    *   *  * *  ** *  *    ** *", "***  ***  *   *  * *  * **  ***  * **",
    "* *  *    *   *  * *  * **  *    * **", "* *  *    * * *  * *  *  *  *    *  *",
    "***  ***  *   *  ***  *  *  ***  *  *"};

TEST(Banners, RowsAreKeptWholeWithTheirTrailingSpaces) {
  const std::pair<const game::Banner*, const std::vector<std::string_view>*> banners[] = {
      {&game::kDrawBanner, &kDrawRows},
      {&game::kLostBanner, &kLostRows},
      {&game::kWonBanner, &kWonRows}};
  for (auto [banner, rows] : banners) {
    for (size_t i = 0; i < rows->size(); ++i) EXPECT_EQ((*banner)[i].text, (*rows)[i]);
  }
}

TEST_F(EndScreenTest, NinthCrossWithoutALineShowsTheDrawBanner) {
  SetPosition({1, 2, 6, 7, 9}, {3, 4, 5, 8});
  game::Opponent = 3;
  DrawBoardByHand();
  ExpectEndScreen([] { game::ComputerMove(); });
  EXPECT_EQ(game::GameResult, game::kNoLine);
  EXPECT_EQ(game::MoveCount, 9);
  ExpectScreenEquals(game_test::Snapshot(), [] {
    DrawBoardByHand();
    HandRows(240, kDrawRows);
  });
}

TEST_F(EndScreenTest, NinthCrossCompletingALineShowsTheWonBanner) {
  // The last cross closes the left column and fills the board.
  SetPosition({1, 4, 7, 6, 8}, {2, 3, 5, 9});
  game::Opponent = 1;
  DrawBoardByHand();
  ExpectEndScreen([] { game::ComputerMove(); });
  EXPECT_EQ(game::GameResult, game::kPersonWon);
  ExpectScreenEquals(game_test::Snapshot(), [] {
    DrawBoardByHand();
    HandRows(220, kWonRows);
  });
}

TEST_F(EndScreenTest, ComputersLineTurnsRedUnderTheWinnerAndTheLostBanner) {
  // Rings on 1, 4 and 7 complete the left column; the ring on 9 stays blue.
  const std::string_view names[] = {"Christkind hat gewonnen", "Knecht Ruprecht hat gewonnen",
                                    "Nikolaus hat gewonnen", "Engel hat gewonnen"};
  for (int32_t opponent = 1; opponent <= 4; ++opponent) {
    layer::ClearScreen(layer::kClearWholeScreen);
    SetPosition({2, 3, 5}, {1, 4, 7, 9});
    game::Opponent = opponent;
    DrawBoardByHand();
    ExpectEndScreen([] { game::ResultTest(); });
    EXPECT_EQ(game::GameResult, game::kComputerWon);
    ExpectScreenEquals(game_test::Snapshot(), [&] {
      DrawBoardByHand();
      for (int32_t cell : {1, 4, 7}) HandRing(cell, 0xAA0000);
      HandText(220, 250, names[opponent - 1]);
      HandRows(188, kLostRows);
    });
    EXPECT_EQ(game_test::RingTopPixel(9), 0x0000AAu);
  }
}

TEST_F(EndScreenTest, RingClosingTwoLinesTurnsBothRed) {
  // The only free cell, 5, closes the middle row and the middle column at once.
  SetPosition({1, 3, 7, 9}, {2, 4, 6, 8});
  game::Opponent = 2;
  DrawBoardByHand();
  layer::SeedRandom(1);
  ExpectEndScreen([] { game::ComputerMove(); });
  EXPECT_EQ(game::Board[5], game::kRing);
  ExpectScreenEquals(game_test::Snapshot(), [] {
    DrawBoardByHand();
    for (int32_t cell : {2, 4, 5, 6, 8}) HandRing(cell, 0xAA0000);
    HandText(220, 250, "Knecht Ruprecht hat gewonnen");
    HandRows(188, kLostRows);
  });
}

TEST_F(EndScreenTest, EveryLineOfRingsTurnsRedAndNoOtherRing) {
  constexpr std::array<std::array<int32_t, 3>, 8> kLines = {
      {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 4, 7}, {2, 5, 8}, {3, 6, 9}, {1, 5, 9}, {3, 5, 7}}};
  for (const auto& line : kLines) {
    SCOPED_TRACE(::testing::Message() << "line " << line[0] << line[1] << line[2]);
    layer::ClearScreen(layer::kClearWholeScreen);
    // The line's rings and one blue ring beside it, on the first cell not in the line.
    SetPosition({}, {});
    int32_t beside = 1;
    while (beside == line[0] || beside == line[1] || beside == line[2]) ++beside;
    for (int32_t cell : line) game::MarkRing(cell);
    game::MarkRing(beside);
    game::MoveCount = 4;
    ExpectEndScreen([] { game::ResultTest(); });
    EXPECT_EQ(game::GameResult, game::kComputerWon);
    for (int32_t cell : line) EXPECT_EQ(game_test::RingTopPixel(cell), 0xAA0000u) << cell;
    EXPECT_EQ(game_test::RingTopPixel(beside), 0x0000AAu);
  }
}

TEST_F(EndScreenTest, PersonsLinesAreFoundBeforeTheComputers) {
  // Both a line of crosses and a line of rings: the person's decides, nothing turns red.
  SetPosition({1, 2, 3}, {7, 8, 9});
  ExpectEndScreen([] { game::ResultTest(); });
  EXPECT_EQ(game::GameResult, game::kPersonWon);
  EXPECT_EQ(game_test::RingTopPixel(7), 0x404040u);

  // Mixed lines never count as complete, whatever their sum.
  SetPosition({1, 5}, {2, 3, 9});
  EXPECT_EQ(EndStatusOf([] { game::ResultTest(); }), std::nullopt);
  const int32_t sums[] = {0, 21, 1, 10, 1, 11, 20, 12, 11};
  for (int32_t line = 1; line <= 8; ++line) EXPECT_EQ(game::LineSum[line], sums[line]);
  EXPECT_EQ(game::GameResult, game::kNoLine);
}

TEST_F(EndScreenTest, WaitsForAKeyBeforeEnding) {
  SetPosition({1, 2, 6, 7, 9}, {3, 4, 5, 8});
  std::atomic<int32_t> status{-1};
  std::thread game_thread([&] { status = EndStatusOf([] { game::EndScreen(); }).value_or(-2); });
  // The banner is drawn, then the program waits: it has not ended after several passes.
  for (int32_t pass = 0; pass < 10; ++pass) layer::testing::WaitForPasses(1);
  EXPECT_EQ(status, -1);
  game_test::TypeKey();
  game_thread.join();
  EXPECT_EQ(status, 0);
  // The key that ended the wait is still there to be read.
  EXPECT_EQ(layer::ReadKey(), "x");
}

}  // namespace
