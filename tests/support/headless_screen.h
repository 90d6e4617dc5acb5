// SPDX-License-Identifier: MIT
// A test fixture with the game's 651 x 651 screen open on the headless back-end.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "layer/layer.h"
#include "screen/screen.h"
#include "testing/test_seams.h"

// Pixel positions (x, y).
using PixelSet = std::set<std::pair<int, int>>;

class HeadlessScreen : public ::testing::Test {
 protected:
  static constexpr int kSize = 651;

  void SetUp() override {
    layer::testing::UseHeadlessBackend();
    ASSERT_EQ(layer::OpenScreen(kSize, kSize, 32, 0, 0, 0), 0);
  }
  void TearDown() override { layer::testing::CloseScreenForTest(); }

  static uint32_t Pixel(int32_t x, int32_t y) { return layer::testing::FramebufferPixel(x, y); }

  // The positions of every pixel of one colour, read in one go under the screen lock.
  static PixelSet PixelsOfColour(uint32_t colour) {
    std::vector<uint32_t> pixels(kSize * kSize);
    {
      std::lock_guard<std::recursive_mutex> lock(layer::ScreenLock());
      std::memcpy(pixels.data(), layer::CurrentScreen()->framebuffer.data(), pixels.size() * 4);
    }
    PixelSet found;
    for (int i = 0; i < kSize * kSize; ++i) {
      if (pixels[i] == colour) found.insert({i % kSize, i / kSize});
    }
    return found;
  }
};
