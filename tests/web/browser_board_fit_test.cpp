// SPDX-License-Identifier: MIT
// The size the page shows the board at, and the browser's clock.
#include <gtest/gtest.h>

#include "browser/browser_board_fit.h"
#include "layer/layer.h"

namespace {

using layer::FitBoard;
using layer::PageView;

constexpr int32_t kBoard = 651;
constexpr double kText = 120;  // the text and button beneath the board

// The board's side in CSS pixels as a share of the viewport's shorter side.
double Share(const PageView& view) {
  return FitBoard(view, kBoard).device_size / view.ratio / std::min(view.width, view.height);
}

TEST(BrowserBoardFitTest, PhonesGetEveryDevicePixelThatFitsWhenNoWholeScaleReaches90Percent) {
  // 390 x 844 at 3: 1170 device pixels across, one whole scale would be 56%.
  const PageView portrait{390, 844, 3, kText};
  EXPECT_EQ(FitBoard(portrait, kBoard).device_size, (390 - 16) * 3);
  EXPECT_FALSE(FitBoard(portrait, kBoard).smooth);
  EXPECT_FALSE(FitBoard(portrait, kBoard).beside);
  EXPECT_EQ(FitBoard({412, 915, 2.625, kText}, kBoard).device_size, 1039);  // 396 CSS px
  for (const PageView& phone : {portrait, PageView{412, 915, 2.625, kText},
                                PageView{360, 640, 2, kText}, PageView{375, 667, 2, kText}}) {
    EXPECT_GE(Share(phone), 0.9) << phone.width << " x " << phone.height;
    EXPECT_LE(Share(phone), 1.0);
  }
}

TEST(BrowserBoardFitTest, AWholeScaleIsKeptWhereItReachesTheGoal) {
  // A tablet at 2: 651 CSS pixels (two device pixels per board pixel) are 79% of 820.
  EXPECT_EQ(FitBoard({820, 1180, 2, kText}, kBoard).device_size, 2 * kBoard);
  // A desktop window at 1: twice the board fits 1400 x 1600 with its text.
  EXPECT_EQ(FitBoard({1400, 1600, 1, kText}, kBoard).device_size, 2 * kBoard);
  // A phone at 4 fits two device pixels per board pixel at 1302 / 4 = 325.5 of 360: 90.4%.
  EXPECT_EQ(FitBoard({360, 780, 4, kText}, kBoard).device_size, 2 * kBoard);
  // 1000 x 1000 at 1: one board pixel per device pixel is 65%, short of 70%.
  const layer::BoardFit desktop = FitBoard({1000, 1000, 1, kText}, kBoard);
  EXPECT_GT(desktop.device_size, kBoard);
  EXPECT_LT(desktop.device_size, 2 * kBoard);
  EXPECT_GE(Share({1000, 1000, 1, kText}), 0.7);
}

TEST(BrowserBoardFitTest, WideViewportsPutTheTextBesideAndSmallOnesShrinkTheBoardSmoothly) {
  // A phone on its side: the board takes the height, the text goes beside it.
  const layer::BoardFit landscape = FitBoard({844, 390, 3, kText}, kBoard);
  EXPECT_TRUE(landscape.beside);
  EXPECT_EQ(landscape.device_size, (390 - 16) * 3);
  // Nearly square: beneath, with room for the text or, failing that, the button alone.
  EXPECT_FALSE(FitBoard({700, 600, 1, kText}, kBoard).beside);
  EXPECT_GE(Share({700, 600, 1, 300}), 0.7);
  EXPECT_EQ(FitBoard({700, 700, 1, 300}, kBoard).device_size,
            700 - 16 - layer::kPageGap - layer::kButtonRow);
  // Fewer device pixels than board pixels: filtered, so that no line drops out.
  const layer::BoardFit small = FitBoard({320, 480, 1, kText}, kBoard);
  EXPECT_EQ(small.device_size, 320 - 16);
  EXPECT_TRUE(small.smooth);
}

TEST(BrowserClockTest, CountsFromAFixedOriginNotFromTheStart) {
  // Seconds since 1970: a clock that started with the program would be near zero.
  const double now = layer::ClockSeconds();
  EXPECT_GT(now, 1.6e9);
  EXPECT_LT(now, 4.1e9);
  EXPECT_GE(layer::ClockSeconds(), now);
}

}  // namespace
