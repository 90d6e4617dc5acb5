// SPDX-License-Identifier: MIT
// Lines: exact pixels of diagonals, clipping at the screen's borders, styles in every direction
// and the rows a line marks as changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "screen/screen.h"
#include "support/headless_screen.h"

namespace {

constexpr uint32_t kInk = 0x000000AAu;

class LineDrawing : public HeadlessScreen {
 protected:
  static PixelSet Drawn() { return PixelsOfColour(kInk); }
  // The pixels of a line drawn alone on a cleared screen.
  static PixelSet LinePixels(float x1, float y1, float x2, float y2, uint32_t style = 0xFFFF) {
    layer::ClearScreen(layer::kClearWholeScreen);
    layer::DrawLine(x1, y1, x2, y2, kInk, 0, style, 0);
    return Drawn();
  }
};

TEST_F(LineDrawing, DiagonalsSetExactlyTheirPixelsAndCrossInTheMiddle) {
  PixelSet falling, rising;
  for (int k = 0; k <= 208; ++k) {
    falling.insert({k, k});
    rising.insert({k, 208 - k});
  }
  EXPECT_EQ(LinePixels(0, 0, 208, 208), falling);
  EXPECT_EQ(LinePixels(0, 208, 208, 0), rising);
  layer::DrawLine(0, 0, 208, 208, kInk, 0, 0xFFFF, 0);
  EXPECT_EQ(Drawn().size(), 417u);  // the two lines share (104, 104) only
  EXPECT_EQ(Pixel(104, 104), kInk);
}

TEST_F(LineDrawing, PartlyOutsideLinesDrawLikeTheirInsidePart) {
  struct Case {
    float outside[4];
    float inside[4];  // the same segment with its ends moved onto the crossed borders
  };
  const Case cases[] = {
      {{-100, 50, 300, 250}, {0, 100, 300, 250}},     // first end left of the screen
      {{-3, 0, 7, 5}, {0, 1, 7, 5}},                  // crossing at y 1.5, truncated
      {{-50, -150, 150, 250}, {25, 0, 150, 250}},     // beyond left and top
      {{600, 600, 700, 660}, {600, 600, 650, 630}},   // second end right of the screen
      {{640, 600, 660, 700}, {640, 600, 650, 650}},   // beyond right and bottom
      {{300, -1000, 300, 1000}, {300, 0, 300, 650}},  // vertical through both
      {{-2000, 7, 2000, 7}, {0, 7, 650, 7}},          // horizontal through both
      {{-30, 700, 700, -30}, {20, 650, 650, 20}},     // cut on all four sides
  };
  for (const Case& c : cases) {
    const auto& o = c.outside;
    const auto& i = c.inside;
    const PixelSet expected = LinePixels(i[0], i[1], i[2], i[3]);
    EXPECT_EQ(LinePixels(o[0], o[1], o[2], o[3]), expected) << o[0] << "," << o[1];
  }
}

TEST_F(LineDrawing, WhollyOutsideAndUnboundedLinesStaySafe) {
  EXPECT_TRUE(LinePixels(-10, 5, -1, 600).empty());     // both ends left
  EXPECT_TRUE(LinePixels(-100, 10, 10, -100).empty());  // passes the corner outside
  EXPECT_TRUE(LinePixels(700, 640, 640, 700).empty());
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(LinePixels(-1e30f, 300, 1e30f, 300).size(), 651u);
  EXPECT_EQ(LinePixels(-inf, -inf, inf, inf).size(), 651u);
  EXPECT_EQ(LinePixels(nan, nan, nan, nan), (PixelSet{{0, 0}}));
}

TEST_F(LineDrawing, StyleCountsPixelsFromTheFirstEndInEveryDirection) {
  const int ends[][2] = {{400, 337}, {200, 263}, {337, 400}, {263, 200}, {300, 450},
                         {300, 150}, {450, 300}, {150, 300}, {400, 400}, {200, 400}};
  for (uint32_t style : {0x8000u, 0x00F1u}) {
    for (const auto& end : ends) {
      const PixelSet solid = LinePixels(300, 300, end[0], end[1]);
      const PixelSet styled = LinePixels(300, 300, end[0], end[1], style);
      const bool x_major = std::abs(end[0] - 300) >= std::abs(end[1] - 300);
      PixelSet expected;
      for (const auto& [x, y] : solid) {
        const int k = std::abs((x_major ? x : y) - 300);
        if ((style >> (15 - k % 16)) & 1) expected.insert({x, y});
      }
      EXPECT_EQ(styled, expected) << std::hex << style << std::dec << " to " << end[0] << ","
                                  << end[1];
    }
  }
  // Counting starts at the clipped first end.
  PixelSet dots;
  for (int x = 0; x <= 100; x += 16) dots.insert({x, 100});
  EXPECT_EQ(LinePixels(-5, 100, 100, 100, 0x8000), dots);
}

TEST_F(LineDrawing, MarksTheRowsBetweenItsClippedEnds) {
  std::lock_guard<std::recursive_mutex> hold_window_thread(layer::ScreenLock());
  auto& marks = layer::CurrentScreen()->row_marks;
  std::fill(marks.begin(), marks.end(), 0);
  layer::DrawLine(10, 20, 30, 5, kInk, 0, 0xFFFF, 0);
  layer::DrawLine(5, -20, 5, 4, kInk, 0, 0xFFFF, 0);      // clipped to rows 0..4
  layer::DrawLine(-5, -20, -5, 600, kInk, 0, 0xFFFF, 0);  // wholly outside
  for (int y = 0; y < kSize; ++y) EXPECT_EQ(marks[y] != 0, y <= 20) << y;
}

}  // namespace
