// SPDX-License-Identifier: MIT
// Rings and filled ellipses: the game's ring pixel by pixel, the shape of rings of every size,
// clipping at the edges, filling, recolouring and the rows marked as changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "screen/screen.h"
#include "support/headless_screen.h"

namespace {

constexpr uint32_t kBlue = 0x0000AAu;
constexpr uint32_t kRed = 0xAA0000u;

class RingDrawing : public HeadlessScreen {
 protected:
  static PixelSet Drawn(uint32_t colour = kBlue) { return PixelsOfColour(colour); }
  static void Ring(float x, float y, float radius, uint32_t colour = kBlue, int fill = 0,
                   float aspect = 0) {
    layer::DrawCircle(x, y, radius, colour, aspect, 0.0f, layer::kFullCircle, fill, 4);
  }
  // The pixels of one shape drawn alone on a cleared screen.
  static PixelSet Alone(float x, float y, float radius, int fill = 0, float aspect = 0) {
    layer::ClearScreen(layer::kClearWholeScreen);
    Ring(x, y, radius, kBlue, fill, aspect);
    return Drawn();
  }
};

TEST_F(RingDrawing, TheGamesRingSetsExactlyItsPixels) {
  const PixelSet ring = Alone(104, 104, 104);
  ASSERT_EQ(ring.size(), 588u);
  PixelSet row_0, column_0, row_104;
  for (const auto& [x, y] : ring) {
    EXPECT_LE(std::max(x, y), 208);
    if (y == 0) row_0.insert({x - 95, 0});
    if (x == 0) column_0.insert({y - 95, 0});
    if (y == 104) row_104.insert({x, y});
  }
  PixelSet run;  // 95 to 113, shifted to 0 to 18
  for (int k = 0; k <= 18; ++k) run.insert({k, 0});
  EXPECT_EQ(row_0, run);
  EXPECT_EQ(column_0, run);
  EXPECT_EQ(row_104, (PixelSet{{0, 104}, {208, 104}}));

  Ring(104, 104, 104, kRed);  // recolouring covers the same pixels
  EXPECT_EQ(Drawn(kRed), ring);
  EXPECT_TRUE(Drawn(kBlue).empty());
}

TEST_F(RingDrawing, SmallRingsHaveTheirPixelCounts) {
  EXPECT_EQ(Alone(50, 60, 1), (PixelSet{{49, 60}, {51, 60}, {50, 59}, {50, 61}}));
  EXPECT_EQ(Alone(50, 60, 3).size(), 16u);
  EXPECT_EQ(Alone(50, 60, 5).size(), 28u);
}

TEST_F(RingDrawing, WholeRingsAreClosedSymmetricOnePixelCurves) {
  const int c = 325;
  for (int radius : {3, 4, 7, 12, 25, 60, 300}) {
    const PixelSet ring = Alone(c, c, radius);
    for (const auto& [x, y] : ring) {
      int neighbours = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) neighbours += (dx || dy) && ring.count({x + dx, y + dy});
      }
      EXPECT_EQ(neighbours, 2) << "radius " << radius << " at " << x << "," << y;
      EXPECT_TRUE(ring.count({2 * c - x, y}) && ring.count({x, 2 * c - y}) && ring.count({y, x}))
          << "radius " << radius << " at " << x << "," << y;
      EXPECT_LE(std::max(std::abs(x - c), std::abs(y - c)), radius);
    }
    EXPECT_TRUE(ring.count({c - radius, c}) && ring.count({c, c + radius})) << radius;
  }
}

TEST_F(RingDrawing, RingsAndDiscsAreCutOffAtTheEdges) {
  for (int fill : {0, 1}) {
    const PixelSet whole = Alone(200, 200, 50, fill);
    for (const auto& [cx, cy] : {std::pair{0, 0}, std::pair{650, 650}, std::pair{-30, 300}}) {
      PixelSet expected;
      for (const auto& [x, y] : whole) {
        const int sx = x - 200 + cx, sy = y - 200 + cy;
        if (sx >= 0 && sx < kSize && sy >= 0 && sy < kSize) expected.insert({sx, sy});
      }
      EXPECT_EQ(Alone(cx, cy, 50, fill), expected) << "fill " << fill << " at " << cx;
    }
  }
}

TEST_F(RingDrawing, FilledShapesSpanTheirOutlineOnEveryRow) {
  for (float aspect : {0.0f, 0.6f, 1.7f}) {
    std::map<int, std::pair<int, int>> outline;  // row -> leftmost, rightmost
    for (const auto& [x, y] : Alone(300, 300, 40.5f, 0, aspect)) {
      auto [it, fresh] = outline.try_emplace(y, x, x);
      it->second = {std::min(it->second.first, x), std::max(it->second.second, x)};
    }
    PixelSet expected;
    for (const auto& [y, ends] : outline) {
      for (int x = ends.first; x <= ends.second; ++x) expected.insert({x, y});
    }
    EXPECT_EQ(Alone(300, 300, 40.5f, 1, aspect), expected) << "aspect " << aspect;
  }
}

TEST_F(RingDrawing, NegativeAspectsShapeByTheirSize) {
  EXPECT_EQ(Alone(300, 300, 40, 0, -0.5f), Alone(300, 300, 40, 0, 0.5f));
  // Below -1 the radius stays the horizontal half-axis: twice as tall as wide.
  const PixelSet tall = Alone(300, 300, 20, 0, -2.0f);
  EXPECT_TRUE(tall.count({280, 300}) && tall.count({320, 300}));
  EXPECT_TRUE(tall.count({300, 260}) && tall.count({300, 340}));
}

TEST_F(RingDrawing, OnlyWholeRingsOfSensibleSizeAreDrawn) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  layer::DrawCircle(300, 300, 50, kBlue, 0, 0, std::nextafter(layer::kFullCircle, 0.0f), 0, 4);
  layer::DrawCircle(300, 300, 50, kBlue, 0, 0.5f, layer::kFullCircle, 0, 4);
  for (float radius : {0.0f, -5.0f, nan, 1e30f}) Ring(300, 300, radius);
  Ring(300, 300, 50, kBlue, 0, nan);
  EXPECT_TRUE(Drawn().empty());
  // A huge ring centred far below still passes through its top pixel.
  Ring(325, 100325, 100000);
  EXPECT_EQ(Pixel(325, 325), kBlue);
  EXPECT_EQ(Pixel(325, 326), 0xFF000000u);
  EXPECT_EQ(Pixel(325, 324), 0xFF000000u);
}

TEST_F(RingDrawing, MarksEveryRowItDraws) {
  for (float radius = 0.5f; radius < 12.0f; radius += 0.1f) {
    for (float aspect : {0.0f, 0.7f, 1.3f}) {
      std::lock_guard<std::recursive_mutex> hold_window_thread(layer::ScreenLock());
      layer::ClearScreen(layer::kClearWholeScreen);
      auto& marks = layer::CurrentScreen()->row_marks;
      std::fill(marks.begin(), marks.end(), 0);
      Ring(300, 300, radius, kBlue, 0, aspect);
      for (int y = 280; y <= 320; ++y) {
        for (int x = 280; x <= 320; ++x) {
          ASSERT_TRUE(marks[y] || Pixel(x, y) != kBlue)
              << "radius " << radius << " aspect " << aspect << " row " << y;
        }
      }
    }
  }
}

}  // namespace
