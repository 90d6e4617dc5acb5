// SPDX-License-Identifier: MIT
// Packed pictures: what the picture tool packs, LoadPicture unpacks to the same pixels, placed
// like a BMP; a damaged file stops with status 3 and never writes beyond the rows it decoded.
#include <gtest/gtest.h>

#include <random>

#include "pictures/packed.h"
#include "support/image_test_files.h"

namespace {

using image_test::Image;
using image_test::MakeImage;
using image_test::PixelAt;

constexpr uint32_t kFill = 0xFFFF00FF;

// Pixels of one kind: each kind takes another of the format's ways of coding a pixel.
enum class Kind { kNoise, kGradient, kShapes };

std::vector<uint32_t> Picture(Kind kind, int width, int height) {
  std::mt19937 random(static_cast<uint32_t>(width * 7919 + height));
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t& p = pixels[static_cast<size_t>(y) * width + x];
      switch (kind) {
        case Kind::kNoise:  // nothing to predict: large errors of every sign
          p = random() & 0xFFFFFF;
          break;
        case Kind::kGradient:  // small errors, channels changing together
          p = static_cast<uint32_t>((x * 255 / width) << 16 | (y * 200 / height) << 8 |
                                    ((x + y) * 3 & 0xFF));
          break;
        case Kind::kShapes:  // flat areas, edges, and a few colours coming back
          p = ((x / 5 + y / 3) % 4 == 0) ? 0x10203F : ((x * y) % 17 == 0 ? 0xF0E0D0 : 0x2A5C1B);
          break;
      }
    }
  }
  return pixels;
}

class PackedPictureTest : public image_test::PictureTest {};

TEST_F(PackedPictureTest, UnpacksToThePackedPixelsPlacedInTheBuffer) {
  struct Case {
    Kind kind;
    int width, height;  // the buffer is 40 x 30
  };
  const Case cases[] = {{Kind::kNoise, 40, 30}, {Kind::kGradient, 40, 30}, {Kind::kShapes, 40, 30},
                        {Kind::kNoise, 1, 1},   {Kind::kGradient, 17, 9},  {Kind::kShapes, 70, 45},
                        {Kind::kNoise, 300, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "kind " << static_cast<int>(c.kind) << ", " << c.width << " x " << c.height);
    const std::vector<uint32_t> pixels = Picture(c.kind, c.width, c.height);
    Image image = MakeImage(40, 30);
    ASSERT_EQ(
        layer::LoadPicture(Write(pictures::EncodePacked(pixels, c.width, c.height)), image.get()),
        0);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        const uint32_t want = x < c.width && y < c.height
                                  ? 0xFF000000u | pixels[static_cast<size_t>(y) * c.width + x]
                                  : kFill;
        ASSERT_EQ(PixelAt(image, x, y), want) << "at " << x << ", " << y;
      }
    }
  }
}

TEST_F(PackedPictureTest, DamagedFilesStopWithStatusThreeKeepingTheRowsDecoded) {
  const std::vector<uint32_t> pixels = Picture(Kind::kNoise, 40, 30);
  const std::vector<uint8_t> whole = pictures::EncodePacked(pixels, 40, 30);
  const std::vector<uint8_t> half(whole.begin(), whole.begin() + whole.size() / 2);
  const std::vector<uint8_t> no_width = {0xFC, 0, 0, 30, 0, 1, 2, 3};
  const std::vector<uint8_t> header_cut = {0xFC, 40, 0, 30};
  const struct {
    const std::vector<uint8_t>& file;
    bool decodes_rows;
  } cases[] = {{half, true}, {no_width, false}, {header_cut, false}};
  for (const auto& c : cases) {
    Image image = MakeImage(40, 30);
    EXPECT_EQ(layer::LoadPicture(Write(c.file), image.get()), 3);
    // The decoded rows are the picture's, the rest keeps the fill; half a file decodes some.
    int rows_decoded = 0;
    while (rows_decoded < 30 && PixelAt(image, 0, rows_decoded) != kFill) ++rows_decoded;
    EXPECT_EQ(rows_decoded > 0, c.decodes_rows);
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        ASSERT_EQ(PixelAt(image, x, y),
                  y < rows_decoded ? 0xFF000000u | pixels[static_cast<size_t>(y) * 40 + x] : kFill)
            << "at " << x << ", " << y;
      }
    }
  }
}

}  // namespace
