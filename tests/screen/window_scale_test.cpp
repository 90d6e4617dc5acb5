// SPDX-License-Identifier: MIT
// The window scale: what was asked for, then the environment, then the desktop, lowered to fit.
#include "screen/window_scale.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "layer/layer.h"

namespace {

#ifdef _WIN32
// The C runtime's environment, which getenv reads; an empty value removes the variable.
int setenv(const char* name, const char* value, int) {
  return _putenv_s(name, value);
}
int unsetenv(const char* name) {
  return _putenv_s(name, "");
}
#endif

class WindowScaleTest : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("XMAS_TICTACTOE_SCALE"); }
  void TearDown() override {
    layer::SetWindowScale(0);
    unsetenv("XMAS_TICTACTOE_SCALE");
  }
};

TEST_F(WindowScaleTest, AskedScaleComesBeforeEnvironmentBeforeDesktop) {
  EXPECT_EQ(layer::ChooseWindowScale(0, 0, 0, 651, 651), 1);
  EXPECT_EQ(layer::ChooseWindowScale(2, 0, 0, 651, 651), 2);
  EXPECT_EQ(layer::ChooseWindowScale(12, 0, 0, 651, 651), 8);
  setenv("XMAS_TICTACTOE_SCALE", "3", 1);
  EXPECT_EQ(layer::ChooseWindowScale(2, 0, 0, 651, 651), 3);
  for (const char* ignored : {"0", "9", "2x", "", "-1", "12"}) {
    setenv("XMAS_TICTACTOE_SCALE", ignored, 1);
    EXPECT_EQ(layer::ChooseWindowScale(2, 0, 0, 651, 651), 2) << '"' << ignored << '"';
  }
  setenv("XMAS_TICTACTOE_SCALE", "3", 1);
  ASSERT_EQ(layer::SetWindowScale(4), 0);
  EXPECT_EQ(layer::ChooseWindowScale(2, 0, 0, 651, 651), 4);
  EXPECT_EQ(layer::SetWindowScale(9), 1);
  EXPECT_EQ(layer::SetWindowScale(-1), 1);
  EXPECT_EQ(layer::ChooseWindowScale(2, 0, 0, 651, 651), 4);
}

TEST_F(WindowScaleTest, LoweredUntilTheWindowFitsTheUsableArea) {
  ASSERT_EQ(layer::SetWindowScale(8), 0);
  EXPECT_EQ(layer::ChooseWindowScale(1, 3840, 2100, 651, 651), 3);  // 2100 / 651 = 3.2
  EXPECT_EQ(layer::ChooseWindowScale(1, 1302, 1302, 651, 651), 2);  // exactly fits
  EXPECT_EQ(layer::ChooseWindowScale(1, 1301, 4000, 651, 651), 1);
  EXPECT_EQ(layer::ChooseWindowScale(1, 400, 400, 651, 651), 1);  // never below 1
  EXPECT_EQ(layer::ChooseWindowScale(1, 0, 1400, 651, 651), 2);   // unknown width
}

TEST(UnscaledPosition, DividesTowardsMinusInfinityInTheSixteenBitForm) {
  EXPECT_EQ(layer::UnscaledPosition(1301, 2), 650);
  EXPECT_EQ(layer::UnscaledPosition(5, 3), 1);
  EXPECT_EQ(layer::UnscaledPosition(0xFFFF, 2), 0xFFFF);  // -1 stays left of the window
  EXPECT_EQ(layer::UnscaledPosition(0xFFFA, 4), 0xFFFE);  // -6 / 4 is -2, not -1
  EXPECT_EQ(layer::UnscaledPosition(0xFFFE, 1), 0xFFFE);
}

}  // namespace
