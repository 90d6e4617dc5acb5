// SPDX-License-Identifier: MIT
// Text in the built-in font: the glyph table, where glyphs land, transparency, clipping and
// the rows marked as changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "draw/font.h"
#include "screen/screen.h"
#include "support/headless_screen.h"

namespace {

constexpr uint32_t kBlue = 0x0000AAu;
constexpr uint32_t kRed = 0xAA0000u;
const std::string kFullBlock(1, '\xDB');  // every bit set

class TextDrawing : public HeadlessScreen {
 protected:
  static PixelSet Drawn(uint32_t colour = kBlue) { return PixelsOfColour(colour); }
  static PixelSet Alone(float x, float y, const std::string& text) {
    layer::ClearScreen(layer::kClearWholeScreen);
    EXPECT_EQ(layer::DrawText(x, y, 4, text, kBlue), 0);
    return Drawn();
  }
};

TEST(Font, HoldsThePcGlyphsWithBitZeroLeftmost) {
  using Glyph = std::array<uint8_t, 8>;
  const auto glyph = [](unsigned char code) {
    Glyph bytes;
    std::copy_n(layer::kFont8x8[code], 8, bytes.begin());
    return bytes;
  };
  EXPECT_EQ(glyph('*'), (Glyph{0x00, 0x66, 0x3C, 0xFF, 0x3C, 0x66, 0x00, 0x00}));
  EXPECT_EQ(glyph('A'), (Glyph{0x0C, 0x1E, 0x33, 0x33, 0x3F, 0x33, 0x33, 0x00}));
  EXPECT_EQ(glyph(' '), Glyph{});
  EXPECT_EQ(glyph(0xDB), (Glyph{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(TextDrawing, GlyphsLandInTheirCellsBitZeroLeftmost) {
  const PixelSet drawn = Alone(100.4f, 99.5f, "A*");  // rounds to (100, 100)
  PixelSet expected;
  for (int i = 0; i < 2; ++i) {
    for (int r = 0; r < 8; ++r) {
      for (int k = 0; k < 8; ++k) {
        if ((layer::kFont8x8[static_cast<uint8_t>("A*"[i])][r] >> k) & 1) {
          expected.insert({100 + 8 * i + k, 100 + r});
        }
      }
    }
  }
  EXPECT_EQ(drawn, expected);
  const PixelSet star = Alone(300, 200, "*");
  EXPECT_EQ(star.size(), 24u);
  for (int x = 300; x < 308; ++x) {
    EXPECT_TRUE(star.count({x, 203}));
    for (int row : {200, 206, 207}) EXPECT_FALSE(star.count({x, row}));
  }
}

TEST_F(TextDrawing, LeavesThePictureUnderZeroBitsAndSpaces) {
  for (int y = 100; y < 108; ++y) layer::DrawLine(100, y, 130, y, kRed, 0, 0xFFFF, 0);
  ASSERT_EQ(layer::DrawText(100, 100, 4, "* *", kBlue), 0);
  EXPECT_EQ(Drawn(kBlue).size(), 48u);
  EXPECT_EQ(Drawn(kRed).size(), 31u * 8 - 48);
  EXPECT_EQ(Pixel(100, 100), kRed);  // a 0 bit of '*'
  EXPECT_EQ(Pixel(111, 103), kRed);  // the space
}

TEST_F(TextDrawing, LinesStayInsideTheirBoxes) {
  std::string line;
  for (int i = 0; i < 20; ++i) line += kFullBlock;
  ASSERT_EQ(layer::DrawText(240, 300, 4, line, kBlue), 0);
  ASSERT_EQ(layer::DrawText(240, 310, 4, line, kBlue), 0);
  PixelSet boxes;
  for (int y : {300, 301, 302, 303, 304, 305, 306, 307, 310, 311, 312, 313, 314, 315, 316, 317}) {
    for (int x = 240; x <= 399; ++x) boxes.insert({x, y});
  }
  EXPECT_EQ(Drawn(), boxes);  // rows 308 and 309 stay untouched
}

TEST_F(TextDrawing, IsCutOffPixelByPixelAtTheEdges) {
  const PixelSet whole = Alone(100, 100, "AB*");
  for (const auto& [x, y] : {std::pair{-4, -3}, std::pair{-12, 640}, std::pair{630, 645}}) {
    PixelSet expected;
    for (const auto& [px, py] : whole) {
      const int sx = px - 100 + x;
      const int sy = py - 100 + y;
      if (sx >= 0 && sx < kSize && sy >= 0 && sy < kSize) expected.insert({sx, sy});
    }
    EXPECT_EQ(Alone(x, y, "AB*"), expected) << x << "," << y;
  }
  EXPECT_TRUE(Alone(651, 10, "AB").empty());
  EXPECT_TRUE(Alone(-16, 10, "AB").empty());
  EXPECT_TRUE(Alone(10, -8, "AB").empty());
  EXPECT_TRUE(Alone(10, 1e30f, "AB").empty());
  // Far to the left, only the characters that reach the screen appear.
  EXPECT_EQ(Alone(-8000, 10, std::string(1000, ' ') + kFullBlock).size(), 64u);
}

TEST_F(TextDrawing, NeedsATextAndMarksItsClippedRows) {
  EXPECT_EQ(layer::DrawText(10, 10, 4, std::nullopt, kBlue), 1);
  EXPECT_EQ(layer::DrawText(10, 10, 4, "", kBlue), 0);
  EXPECT_TRUE(Drawn().empty());

  std::lock_guard<std::recursive_mutex> hold_window_thread(layer::ScreenLock());
  auto& marks = layer::CurrentScreen()->row_marks;
  std::fill(marks.begin(), marks.end(), 0);
  layer::DrawText(10, 200, 4, "AB", kBlue);
  layer::DrawText(10, 646, 4, "AB", kBlue);
  layer::DrawText(10, -5, 4, "AB", kBlue);
  for (int y = 0; y < kSize; ++y) {
    EXPECT_EQ(marks[y] != 0, y <= 2 || (y >= 200 && y <= 207) || y >= 646) << y;
  }
}

}  // namespace
