// SPDX-License-Identifier: MIT
// Lines at general slopes, pixel for pixel, in all eight octants. The expected pixels are
// written out by hand: each line has a 2:1 (or 1:2) slope, so Bresenham's error reaches
// exactly 0 at every other step and the minor coordinate must step there.
#include <gtest/gtest.h>

#include "support/headless_screen.h"

namespace {

constexpr uint32_t kInk = 0x000000AAu;

class LineOctants : public HeadlessScreen {
 protected:
  static PixelSet LinePixels(float x1, float y1, float x2, float y2) {
    layer::ClearScreen(layer::kClearWholeScreen);
    layer::DrawLine(x1, y1, x2, y2, kInk, 0, 0xFFFF, 0);
    return PixelsOfColour(kInk);
  }
};

TEST_F(LineOctants, TwoToOneSlopesInEveryDirection) {
  // x major, drawn from (100, 100).
  EXPECT_EQ(LinePixels(100, 100, 104, 102),
            (PixelSet{{100, 100}, {101, 101}, {102, 101}, {103, 102}, {104, 102}}));
  EXPECT_EQ(LinePixels(100, 100, 104, 98),
            (PixelSet{{100, 100}, {101, 99}, {102, 99}, {103, 98}, {104, 98}}));
  EXPECT_EQ(LinePixels(100, 100, 96, 102),
            (PixelSet{{100, 100}, {99, 101}, {98, 101}, {97, 102}, {96, 102}}));
  EXPECT_EQ(LinePixels(100, 100, 96, 98),
            (PixelSet{{100, 100}, {99, 99}, {98, 99}, {97, 98}, {96, 98}}));
  // y major.
  EXPECT_EQ(LinePixels(100, 100, 102, 104),
            (PixelSet{{100, 100}, {101, 101}, {101, 102}, {102, 103}, {102, 104}}));
  EXPECT_EQ(LinePixels(100, 100, 98, 104),
            (PixelSet{{100, 100}, {99, 101}, {99, 102}, {98, 103}, {98, 104}}));
  EXPECT_EQ(LinePixels(100, 100, 102, 96),
            (PixelSet{{100, 100}, {101, 99}, {101, 98}, {102, 97}, {102, 96}}));
  EXPECT_EQ(LinePixels(100, 100, 98, 96),
            (PixelSet{{100, 100}, {99, 99}, {99, 98}, {98, 97}, {98, 96}}));
}

TEST_F(LineOctants, ASlopeWithoutTiesStepsWhereTheErrorTurnsPositive) {
  // 5 along, 2 across: the error runs -1, 3, -3, 1, -5.
  EXPECT_EQ(LinePixels(10, 20, 15, 22),
            (PixelSet{{10, 20}, {11, 20}, {12, 21}, {13, 21}, {14, 22}, {15, 22}}));
  EXPECT_EQ(LinePixels(20, 15, 22, 10),
            (PixelSet{{20, 15}, {20, 14}, {21, 13}, {21, 12}, {22, 11}, {22, 10}}));
}

}  // namespace
