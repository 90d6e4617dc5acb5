// SPDX-License-Identifier: MIT
// PutImage: plain copies onto the screen, clipping at every edge, row marks, refusals, and
// headers that claim more than their buffer holds.
#include <gtest/gtest.h>

#include <mutex>

#include "screen/screen.h"
#include "support/image_test_files.h"

namespace {

using image_test::Bytes;
using image_test::Image;
using image_test::MakeImage;

constexpr uint32_t kScreenColour = 0x00123456u;

// A value no two pixels share, A byte included.
uint32_t Pattern(int32_t x, int32_t y) {
  return 0xA5000000u | uint32_t(y) << 12 | uint32_t(x);
}

Image PatternImage(int32_t width, int32_t height) {
  Image image = MakeImage(width, height);
  const uint32_t pitch = image_test::Word(image, 16);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t v = Pattern(x, y);
      std::memcpy(Bytes(image) + 32 + y * pitch + 4 * x, &v, 4);
    }
  }
  return image;
}

class PutImageTest : public HeadlessScreen {
 protected:
  void SetUp() override {
    HeadlessScreen::SetUp();
    layer::SetColour(0xFFFFFFFFu, kScreenColour, 0);
    layer::ClearScreen(layer::kClearWholeScreen);
  }

  // Every screen pixel shows the image placed at (left, top) or the screen colour.
  void ExpectPlaced(int32_t left, int32_t top, int32_t width, int32_t height) {
    int32_t wrong = 0;
    for (int32_t y = 0; y < 651; ++y) {
      for (int32_t x = 0; x < 651; ++x) {
        const bool inside = x >= left && x < left + width && y >= top && y < top + height;
        const uint32_t want = inside ? Pattern(x - left, y - top) : kScreenColour;
        if (Pixel(x, y) != want && ++wrong < 5) {
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << Pixel(x, y);
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(PutImageTest, CopiesTheWholeScreenSizedPictureUnchanged) {
  Image image = PatternImage(651, 651);
  EXPECT_EQ(layer::PutImage(0.0f, 0.0f, image.get()), 0);
  ExpectPlaced(0, 0, 651, 651);
}

TEST_F(PutImageTest, ClipsAtEveryEdge) {
  struct Case {
    int32_t x, y;
  };
  Image image = PatternImage(10, 8);
  for (const Case c : {Case{-3, -2}, Case{645, -5}, Case{-9, 646}, Case{647, 649}, Case{300, 650},
                       Case{200, 200}}) {
    SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y);
    layer::ClearScreen(layer::kClearWholeScreen);
    EXPECT_EQ(layer::PutImage(float(c.x), float(c.y), image.get()), 0);
    ExpectPlaced(c.x, c.y, 10, 8);
  }
}

TEST_F(PutImageTest, DrawsNothingWhollyOutside) {
  Image image = PatternImage(10, 8);
  for (auto [x, y] : {std::pair{651.0f, 0.0f},
                      {-10.0f, 5.0f},
                      {0.0f, -8.0f},
                      {3.0f, 651.0f},
                      {-2e9f, -2e9f},
                      {2e9f, 2e9f}}) {
    EXPECT_EQ(layer::PutImage(x, y, image.get()), 0);
  }
  ExpectPlaced(0, 0, 0, 0);
}

TEST_F(PutImageTest, RoundsPositionsHalfAwayFromZero) {
  Image image = PatternImage(10, 8);
  EXPECT_EQ(layer::PutImage(2.5f, 3.49f, image.get()), 0);
  ExpectPlaced(3, 3, 10, 8);
  layer::ClearScreen(layer::kClearWholeScreen);
  EXPECT_EQ(layer::PutImage(-2.5f, -0.5f, image.get()), 0);
  ExpectPlaced(-3, -1, 10, 8);
}

TEST_F(PutImageTest, MarksExactlyTheRowsWritten) {
  Image image = PatternImage(4, 20);
  std::lock_guard<std::recursive_mutex> hold_window_thread(layer::ScreenLock());
  auto& marks = layer::CurrentScreen()->row_marks;
  std::fill(marks.begin(), marks.end(), 0);
  EXPECT_EQ(layer::PutImage(100.0f, 640.0f, image.get()), 0);
  for (int32_t y = 0; y < 651; ++y) EXPECT_EQ(marks[y], y >= 640 ? 1 : 0) << y;
}

TEST_F(PutImageTest, ReachesTheWindow) {
  Image image = PatternImage(651, 651);
  EXPECT_EQ(layer::PutImage(0.0f, 0.0f, image.get()), 0);
  layer::testing::WaitForPasses(2);
  auto* window = layer::testing::Headless();
  ASSERT_NE(window, nullptr);
  for (auto [x, y] : {std::pair{0, 0}, {650, 650}, {17, 400}}) {
    EXPECT_EQ(window->ShownPixel(x, y) & 0xFFFFFFu, Pattern(x, y) & 0xFFFFFFu);
  }
}

TEST_F(PutImageTest, RefusesMissingImageAndOtherPixelSizes) {
  EXPECT_EQ(layer::PutImage(0, 0, nullptr), 1);
  Image image = PatternImage(10, 8);
  for (uint32_t bytes_per_pixel : {1u, 2u, 3u, 0u, 0x80000000u}) {
    std::memcpy(Bytes(image) + 4, &bytes_per_pixel, 4);
    EXPECT_EQ(layer::PutImage(0, 0, image.get()), 1) << bytes_per_pixel;
  }
  ExpectPlaced(0, 0, 0, 0);
}

TEST_F(PutImageTest, RefusesHeadersStatingNegativeSizesOrShortPitch) {
  Image image = PatternImage(10, 8);
  const auto set = [&](size_t offset, int32_t v) { std::memcpy(Bytes(image) + offset, &v, 4); };
  set(8, -10);
  EXPECT_EQ(layer::PutImage(0, 0, image.get()), 1);
  set(8, 10);
  set(16, 36);  // shorter than 10 pixels
  EXPECT_EQ(layer::PutImage(0, 0, image.get()), 1);
  set(16, -48);
  EXPECT_EQ(layer::PutImage(0, 0, image.get()), 1);
  ExpectPlaced(0, 0, 0, 0);
}

TEST_F(PutImageTest, ReadsCompactHeaders) {
  Image image = MakeImage(16, 16);
  // Width 3, height 2, pixel size bits 0 (the screen's): rows of 12 bytes right after 4 bytes.
  const uint16_t words[2] = {3 << 3, 2};
  std::memcpy(Bytes(image), words, 4);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 3; ++x) {
      const uint32_t v = Pattern(x, y);
      std::memcpy(Bytes(image) + 4 + 12 * y + 4 * x, &v, 4);
    }
  }
  EXPECT_EQ(layer::PutImage(5, 6, image.get()), 0);
  ExpectPlaced(5, 6, 3, 2);

  const uint16_t two_byte_pixels[2] = {3 << 3 | 2, 2};
  std::memcpy(Bytes(image), two_byte_pixels, 4);
  EXPECT_EQ(layer::PutImage(5, 6, image.get()), 1);
}

TEST_F(PutImageTest, NeverReadsBeyondTheBlockAHeaderOverstates) {
  Image image = PatternImage(651, 651);
  // Twice the real pitch: only rows whose bytes lie inside the block are drawn.
  const int32_t pitch = 2 * 2608;
  std::memcpy(Bytes(image) + 16, &pitch, 4);
  EXPECT_EQ(layer::PutImage(0, 0, image.get()), 0);
  const int32_t rows_in_block = (651 * 2608 - 651 * 4) / pitch + 1;
  EXPECT_EQ(Pixel(650, rows_in_block - 1), Pattern(650, 2 * (rows_in_block - 1)));
  EXPECT_EQ(Pixel(0, rows_in_block), kScreenColour);

  const uint16_t huge_compact[2] = {0xFFF8, 0xFFFF};  // 8191 x 65535 pixels in a 651 x 651 block
  std::memcpy(Bytes(image), huge_compact, 4);
  EXPECT_EQ(layer::PutImage(0, 0, image.get()), 0);
}

TEST(PutImageWithoutScreen, Refuses) {
  layer::testing::CloseScreenForTest();
  EXPECT_EQ(layer::PutImage(0, 0, nullptr), 1);
}

}  // namespace
