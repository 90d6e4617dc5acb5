// SPDX-License-Identifier: MIT
// Rings at the screen's edges: a ring that touches or crosses an edge keeps exactly the
// pixels of the same ring drawn in the open that fall inside the screen.
#include <gtest/gtest.h>

#include "support/headless_screen.h"

namespace {

constexpr uint32_t kBlue = 0x000000AAu;

class RingAtTheEdges : public HeadlessScreen {
 protected:
  static PixelSet RingPixels(float x, float y, float radius) {
    layer::ClearScreen(layer::kClearWholeScreen);
    layer::DrawCircle(x, y, radius, kBlue, 0.0f, 0.0f, layer::kFullCircle, 0, 4);
    return PixelsOfColour(kBlue);
  }
};

TEST_F(RingAtTheEdges, TouchingOrCrossingEachEdgeKeepsEveryPixelInside) {
  constexpr int kRadius = 104;
  const PixelSet open = RingPixels(325, 325, kRadius);
  ASSERT_EQ(open.size(), 588u);
  const int last = kSize - 1;
  // Centres that put the ring's extreme pixel exactly on an edge, or 10 pixels beyond it.
  const std::pair<int, int> centres[] = {
      {kRadius, 325},
      {kRadius - 10, 325},  // left
      {last - kRadius, 325},
      {last - kRadius + 10, 325},  // right
      {325, kRadius},
      {325, kRadius - 10},  // top
      {325, last - kRadius},
      {325, last - kRadius + 10},                // bottom
      {last - kRadius + 3, last - kRadius + 3},  // a corner
  };
  for (const auto& [cx, cy] : centres) {
    PixelSet expected;
    for (const auto& [x, y] : open) {
      const int px = x - 325 + cx;
      const int py = y - 325 + cy;
      if (px >= 0 && px <= last && py >= 0 && py <= last) expected.insert({px, py});
    }
    EXPECT_EQ(RingPixels(static_cast<float>(cx), static_cast<float>(cy), kRadius), expected)
        << "centre (" << cx << ", " << cy << ")";
  }
}

}  // namespace
