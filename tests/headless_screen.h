// A test fixture with the game's 651 x 651 screen open on the headless back-end.
#pragma once

#include <gtest/gtest.h>

#include "layer/layer.h"
#include "layer/testing.h"

class HeadlessScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    layer::testing::UseHeadlessBackend();
    ASSERT_EQ(layer::OpenScreen(651, 651, 32, 0, 0, 0), 0);
  }
  void TearDown() override { layer::testing::CloseScreenForTest(); }

  static uint32_t Pixel(int32_t x, int32_t y) { return layer::testing::FramebufferPixel(x, y); }
};
