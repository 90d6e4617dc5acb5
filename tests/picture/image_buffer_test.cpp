// SPDX-License-Identifier: MIT
// Image buffers: header layout, alignment, pitch, fill, and refused calls.
#include <gtest/gtest.h>

#include <climits>

#include "support/image_test_files.h"

namespace {

using image_test::Image;
using image_test::MakeImage;
using image_test::Word;

class ImageBufferTest : public HeadlessScreen {};

TEST_F(ImageBufferTest, HeaderDescribesPixelsAndPitchRoundsToSixteen) {
  struct Case {
    int32_t width, height, pitch;
  };
  for (const Case c : {Case{651, 651, 2608}, Case{1, 1, 16}, Case{4, 2, 16}, Case{5, 3, 32},
                       Case{640, 480, 2560}}) {
    SCOPED_TRACE(c.width);
    // Leftover bytes in reused memory must not show through the header.
    Image image = MakeImage(c.width, c.height);
    ASSERT_TRUE(image);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(image.get()) % 16, 0u);
    EXPECT_EQ(Word(image, 0), 7u);
    EXPECT_EQ(Word(image, 4), 4u);
    EXPECT_EQ(Word(image, 8), static_cast<uint32_t>(c.width));
    EXPECT_EQ(Word(image, 12), static_cast<uint32_t>(c.height));
    EXPECT_EQ(Word(image, 16), static_cast<uint32_t>(c.pitch));
    EXPECT_EQ(Word(image, 24), 0u);
    EXPECT_EQ(Word(image, 28), 0u);
  }
}

TEST_F(ImageBufferTest, FillCoversEveryPixelAndThePadding) {
  int32_t status = -1;
  Image plain(layer::CreateImage(5, 3, 0x12345678u, 0, 0, &status));
  EXPECT_EQ(status, 0);
  Image defaulted(layer::CreateImage(5, 3, 0x12345678u, 0, layer::kDefaultFill, &status));
  Image black(layer::CreateImage(5, 3, 0, 0, 0));
  for (size_t offset = 32; offset < 32 + 3 * 32; offset += 4) {
    ASSERT_EQ(Word(plain, offset), 0x12345678u) << offset;
    ASSERT_EQ(Word(defaulted, offset), 0xFFFF00FFu) << offset;
    ASSERT_EQ(Word(black, offset), 0u) << offset;
  }
}

TEST_F(ImageBufferTest, RefusesBadSizesAndDepths) {
  for (auto [w, h, depth] : {std::tuple{0, 10, 0},
                             {10, 0, 0},
                             {-1, 10, 0},
                             {10, INT_MIN, 0},
                             {10, 10, 16},
                             {10, 10, 8},
                             {INT_MAX, 1, 0}}) {
    int32_t status = -1;
    EXPECT_EQ(layer::CreateImage(w, h, 0, depth, 0, &status), nullptr) << w << "x" << h;
    EXPECT_EQ(status, 1);
  }
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST_F(ImageBufferTest, ReportsOutOfMemory) {
  int32_t status = -1;
  EXPECT_EQ(layer::CreateImage(500'000'000, INT_MAX, 0, 0, 0, &status), nullptr);
  EXPECT_EQ(status, 4);
}
#endif

TEST(ImageBufferWithoutScreen, RefusesToCreate) {
  layer::testing::CloseScreenForTest();
  int32_t status = -1;
  EXPECT_EQ(layer::CreateImage(10, 10, 0, 0, 0, &status), nullptr);
  EXPECT_EQ(status, 1);
}

}  // namespace
