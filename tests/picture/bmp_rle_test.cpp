// SPDX-License-Identifier: MIT
// Run-length compressed BMP pictures: runs, absolute runs, line ends, deltas, overruns and
// streams that end too early.
#include <gtest/gtest.h>

#include "support/image_test_files.h"

namespace {

using image_test::Image;
using image_test::MakeImage;
using image_test::PixelAt;

constexpr uint32_t kFill = 0xFFFF00FFu;

// Palette entry i is colour 0x0000ii | i << 16, made opaque by the reader.
uint32_t Colour(uint32_t index) {
  return 0xFF000000u | index << 16 | index;
}

class BmpRunLengthTest : public image_test::PictureTest {
 protected:
  int32_t Load(int32_t width, int32_t height, uint16_t bit_count,
               const std::vector<uint8_t>& stream) {
    layer::bmp::BmpDescription d;
    d.width = width;
    d.height = height;
    d.bit_count = bit_count;
    d.compression = bit_count == 8 ? 1 : 2;
    for (uint32_t i = 0; i < 256; ++i) d.palette.push_back(i << 16 | i);
    image_ = MakeImage(8, 6);
    return layer::LoadPicture(Write(layer::bmp::WriteBmpWithPixelData(d, stream)), image_.get());
  }

  // The buffer's rows from the top as palette indices; -1 for pixels still at the fill.
  std::vector<std::vector<int>> Rows(int32_t width, int32_t height) const {
    std::vector<std::vector<int>> rows(height, std::vector<int>(width, -1));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const uint32_t pixel = PixelAt(image_, x, y);
        if (pixel == kFill) continue;
        rows[y][x] = static_cast<int>(pixel & 0xFF);
        EXPECT_EQ(pixel, Colour(pixel & 0xFF));
      }
    }
    return rows;
  }

  Image image_;
};

using Grid = std::vector<std::vector<int>>;

TEST_F(BmpRunLengthTest, EightBitRunsAbsoluteRunsAndLineEnds) {
  // Stored bottom row first: row 2 (bottom), then row 1, then row 0.
  ASSERT_EQ(Load(5, 3, 8, {3, 7,  2,  9,           // bottom: 7 7 7 9 9
                           0, 0,                   // end of line
                           0, 3,  1,  2,  3,  0,   // absolute run of 3, padded to even
                           0, 0,                   // row 1 keeps x = 3, 4 at the fill
                           0, 4,  10, 11, 12, 13,  // absolute run of 4, no padding
                           1, 14,                  // top: 10 11 12 13 14
                           0, 1}),
            0);
  EXPECT_EQ(Rows(5, 3), (Grid{{10, 11, 12, 13, 14}, {1, 2, 3, -1, -1}, {7, 7, 7, 9, 9}}));
}

TEST_F(BmpRunLengthTest, FourBitRunsAlternateTheirTwoIndices) {
  ASSERT_EQ(Load(5, 2, 4,
                 {5, 0x12,                 // bottom: 1 2 1 2 1
                  0, 0, 0, 3, 0x34, 0x50,  // absolute 3 pixels in 2 bytes: 3 4 5
                  0, 1}),
            0);
  EXPECT_EQ(Rows(5, 2), (Grid{{3, 4, 5, -1, -1}, {1, 2, 1, 2, 1}}));

  ASSERT_EQ(Load(6, 1, 4, {0, 5, 0x67, 0x89, 0xA0, 0, 1, 0xBB, 0, 1}), 0);  // 3 bytes, padded
  EXPECT_EQ(Rows(7, 1), (Grid{{6, 7, 8, 9, 10, 11, -1}}));
}

TEST_F(BmpRunLengthTest, DeltaSkipsPixelsThatKeepTheBuffer) {
  ASSERT_EQ(Load(6, 4, 8,
                 {1, 5,        // bottom row, x = 0
                  0, 2, 2, 1,  // delta: x = 3, one row up
                  2, 6,        // row 2 from the top: x 3, 4
                  0, 2, 0, 2,  // two rows up, same x (5)
                  1, 8,        // top row, x = 5
                  0, 1}),
            0);
  EXPECT_EQ(Rows(6, 4), (Grid{{-1, -1, -1, -1, -1, 8},
                              {-1, -1, -1, -1, -1, -1},
                              {-1, -1, -1, 6, 6, -1},
                              {5, -1, -1, -1, -1, -1}}));
}

TEST_F(BmpRunLengthTest, OverrunsAreDroppedNotWrapped) {
  // Width 3 in an 8-wide buffer: runs past x = 2 are dropped, not continued on the next row;
  // a delta past the top ends the picture.
  ASSERT_EQ(Load(3, 2, 8, {5, 4,                // 4 4 4, then two pixels dropped
                           0, 4, 1, 2,   3, 4,  // absolute run wholly past the width
                           0, 0, 2, 200, 3, 7,  // top row: 200 200 7, then two 7s dropped
                           0, 2, 0, 5,          // delta far past the top
                           9, 9, 9}),           // nothing after it is read
            0);
  EXPECT_EQ(Rows(8, 2), (Grid{{200, 200, 7, -1, -1, -1, -1, -1}, {4, 4, 4, -1, -1, -1, -1, -1}}));
}

TEST_F(BmpRunLengthTest, PictureTallerThanTheBufferKeepsItsTopRows) {
  // 8 rows into a 6-row buffer: the two bottom rows are decoded and dropped.
  std::vector<uint8_t> stream;
  for (uint8_t row = 0; row < 8; ++row) {
    stream.insert(stream.end(), {2, static_cast<uint8_t>(100 + row), 0, 0});
  }
  stream.insert(stream.end(), {0, 1});
  ASSERT_EQ(Load(2, 8, 8, stream), 0);
  EXPECT_EQ(Rows(2, 6),
            (Grid{{107, 107}, {106, 106}, {105, 105}, {104, 104}, {103, 103}, {102, 102}}));
}

TEST_F(BmpRunLengthTest, StreamEndingEarlyKeepsDecodedRows) {
  EXPECT_EQ(Load(3, 2, 8, {3, 1, 0, 0, 2, 2}), 3);  // no end-of-picture marker
  EXPECT_EQ(Rows(3, 2), (Grid{{2, 2, -1}, {1, 1, 1}}));
  EXPECT_EQ(Load(3, 2, 8, {3, 1, 0, 0, 0, 3, 5, 6}), 3);  // ends inside an absolute run
  EXPECT_EQ(Rows(3, 2), (Grid{{5, 6, -1}, {1, 1, 1}}));
  EXPECT_EQ(Load(3, 2, 8, {3, 1, 0, 2, 1}), 3);     // ends inside a delta
  EXPECT_EQ(Load(3, 2, 4, {0, 3, 0x12, 0x30}), 3);  // ends in the padding
  EXPECT_EQ(Load(3, 2, 8, {}), 3);
}

}  // namespace
