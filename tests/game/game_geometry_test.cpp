// SPDX-License-Identifier: MIT
// Which pixels of the window belong to which cell and menu corner, and how the marks look.
#include <gtest/gtest.h>

#include <array>

#include "game/board.h"
#include "game/geometry.h"
#include "support/game_test_support.h"

namespace {

using game_test::GameTest;

TEST(BoardClickAreas, EdgesAndGapsOfTheBands) {
  struct Probe {
    int32_t x, y, cell;
  };
  const Probe probes[] = {
      {430, 100, 2},                 // cell 2 reaches one pixel further right than its band
      {430, 325, 0}, {430, 546, 0},  // cells 5 and 8 do not
      {429, 325, 5}, {429, 546, 8}, {431, 100, 0}, {650, 650, 0}, {215, 215, 0},
      {0, 0, 1},     {209, 209, 1}, {210, 100, 0}, {221, 100, 0}, {222, 100, 2},
      {442, 100, 0}, {443, 100, 3}, {649, 100, 3}, {650, 100, 0}, {100, 209, 1},
      {100, 210, 0}, {100, 222, 4}, {100, 429, 4}, {100, 430, 0}, {100, 443, 7},
      {649, 649, 9}, {546, 650, 0}, {325, 325, 5}, {-1, -1, 0},  // a failed mouse query
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(game::CellAt(p.x, p.y), p.cell) << "(" << p.x << ", " << p.y << ")";
  }
}

TEST(BoardClickAreas, AreasDoNotOverlapAndHaveTheirBandSizes) {
  std::array<int32_t, 10> pixels{};
  for (int32_t y = -1; y <= 651; ++y) {
    for (int32_t x = -1; x <= 651; ++x) {
      int32_t hits = 0;
      for (int32_t cell = 1; cell <= 9; ++cell) {
        if (game::InClickArea(cell, x, y)) {
          ++hits;
          ++pixels[cell];
        }
      }
      ASSERT_LE(hits, 1) << "(" << x << ", " << y << ")";
    }
  }
  // Bands are 210, 208 and 207 pixels wide; cell 2 has one column more.
  const int32_t widths[] = {210, 208, 207};
  for (int32_t cell = 1; cell <= 9; ++cell) {
    const int32_t width = widths[(cell - 1) % 3] + (cell == 2 ? 1 : 0);
    EXPECT_EQ(pixels[cell], width * widths[(cell - 1) / 3]) << "cell " << cell;
  }
}

TEST(MenuCorners, ChooseOpponentsInsideTheirRectanglesOnly) {
  struct Probe {
    int32_t x, y, opponent;
  };
  const Probe probes[] = {
      {630, 100, 0}, {630, 630, 3}, {100, 100, 1}, {209, 209, 1}, {210, 0, 0},
      {443, 0, 2},   {621, 209, 2}, {622, 100, 0}, {500, 210, 0}, {443, 443, 3},
      {649, 649, 3}, {650, 649, 0}, {0, 443, 4},   {209, 621, 4}, {100, 622, 0},
      {210, 500, 0}, {100, 442, 0}, {442, 500, 0}, {325, 325, 0}, {-1, -1, 0},
  };
  for (const Probe& p : probes) {
    EXPECT_EQ(game::OpponentAt(p.x, p.y), p.opponent) << "(" << p.x << ", " << p.y << ")";
  }
}

using MarkDrawing = GameTest;

TEST_F(MarkDrawing, CrossIsTheTwoBlackDiagonalsOfTheDrawSpan) {
  OpenBoardScreen();
  layer::SetColour(0x123456, 0x123456, 0);
  layer::ClearScreen(layer::kClearWholeScreen);
  game::DrawCross(9);
  int64_t black = 0;
  for (int32_t y = 0; y < 651; ++y) {
    for (int32_t x = 0; x < 651; ++x) {
      const bool on_cross = x >= 442 && y >= 442 && (x - 442 == y - 442 || x - 442 == 650 - y);
      const uint32_t pixel = layer::testing::FramebufferPixel(x, y);
      ASSERT_EQ(pixel, on_cross ? 0u : 0x123456u) << "(" << x << ", " << y << ")";
      black += on_cross ? 1 : 0;
    }
  }
  EXPECT_EQ(black, 2 * 209 - 1);  // the diagonals share the centre pixel
}

}  // namespace
