// SPDX-License-Identifier: MIT
// Raw image files: byte copies of a buffer, cut to the buffer's block.
#include <gtest/gtest.h>

#include "support/image_test_files.h"

namespace {

using image_test::Bytes;
using image_test::Image;
using image_test::MakeImage;
using image_test::RawFile;

constexpr size_t kBlockBytes = 1'697'840;  // a 651 x 651 buffer, header included

std::vector<uint8_t> BlockOf(const Image& image, size_t bytes = kBlockBytes) {
  return std::vector<uint8_t>(Bytes(image), Bytes(image) + bytes);
}

// The bytes of a 651 x 651 buffer whose pixels differ from the default fill.
std::vector<uint8_t> SourceBlock() {
  Image source = MakeImage(651, 651, 0, 0);
  for (size_t i = 32; i < kBlockBytes; ++i) Bytes(source)[i] = static_cast<uint8_t>(i * 7);
  return BlockOf(source);
}

class RawPictureTest : public image_test::PictureTest {};

TEST_F(RawPictureTest, FullLengthMakesTheBufferACopy) {
  const std::vector<uint8_t> source = SourceBlock();
  Image image = MakeImage(651, 651);
  EXPECT_EQ(layer::LoadPicture(Write(RawFile(true, kBlockBytes, source)), image.get()), 0);
  EXPECT_EQ(BlockOf(image), source);
}

TEST_F(RawPictureTest, ShortFormCopiesItsSixteenBitLength) {
  Image image = MakeImage(651, 651);
  const std::vector<uint8_t> before = BlockOf(image);
  std::vector<uint8_t> data(70000, 0x5A);
  // Length 0x1234 of 70000 bytes present: exactly 0x1234 are copied.
  EXPECT_EQ(layer::LoadPicture(Write(RawFile(false, 0x11234, data)), image.get()), 0);
  std::vector<uint8_t> want = before;
  std::fill_n(want.begin(), 0x1234, 0x5A);
  EXPECT_EQ(BlockOf(image), want);
}

TEST_F(RawPictureTest, FileShorterThanItsLengthCopiesWhatIsThere) {
  Image image = MakeImage(651, 651);
  const std::vector<uint8_t> before = BlockOf(image);
  const std::vector<uint8_t> data = {7, 0, 0, 0, 4, 0, 0, 0, 1, 0};
  EXPECT_EQ(layer::LoadPicture(Write(RawFile(true, 1000, data)), image.get()), 0);
  std::vector<uint8_t> want = before;
  std::copy(data.begin(), data.end(), want.begin());
  EXPECT_EQ(BlockOf(image), want);

  // No data at all while the length says some: nothing changes, and that is not an error.
  EXPECT_EQ(layer::LoadPicture(Write(RawFile(true, 1000, {})), image.get()), 0);
  EXPECT_EQ(BlockOf(image), want);
}

TEST_F(RawPictureTest, RefusesZeroLengthAndFilesEndingInTheLengthField) {
  Image image = MakeImage(651, 651);
  const std::vector<uint8_t> before = BlockOf(image);
  EXPECT_EQ(layer::LoadPicture(Write(RawFile(true, 0, {1, 2, 3})), image.get()), 3);
  EXPECT_EQ(layer::LoadPicture(Write(RawFile(false, 0, {1, 2, 3})), image.get()), 3);
  EXPECT_EQ(layer::LoadPicture(Write({0xFE, 0x10, 0x00, 0x00}), image.get()), 3);
  EXPECT_EQ(layer::LoadPicture(Write({0xFD, 1, 2, 3, 4, 0x10}), image.get()), 3);
  EXPECT_EQ(layer::LoadPicture(Write({0xFD, 1, 2}), image.get()), 3);
  EXPECT_EQ(BlockOf(image), before);
}

TEST_F(RawPictureTest, LongerDataIsCutToTheBlock) {
  // A copy of a 700 x 700 buffer: its header and first rows fit, the rest is dropped.
  Image big = MakeImage(700, 700, 0x01020304u, 0);
  const size_t big_bytes = 32 + 700 * 2800;
  Image image = MakeImage(651, 651);
  EXPECT_EQ(
      layer::LoadPicture(Write(RawFile(true, big_bytes, BlockOf(big, big_bytes))), image.get()), 0);
  EXPECT_EQ(BlockOf(image), BlockOf(big, kBlockBytes));
  // Drawing it reads only what the block holds: 606 whole rows of 2800 bytes.
  EXPECT_EQ(layer::PutImage(0, 0, image.get()), 0);
  EXPECT_EQ(Pixel(650, 605), 0x01020304u);
}

TEST_F(RawPictureTest, NeedsNoScreen) {
  Image image = MakeImage(16, 16);
  const std::string path = Write(RawFile(true, 4, {9, 8, 7, 6}));
  layer::testing::CloseScreenForTest();
  EXPECT_EQ(layer::LoadPicture(path, image.get()), 0);
  EXPECT_EQ(image_test::Word(image, 0), 0x06070809u);
}

TEST_F(RawPictureTest, BmpAfterRawUsesTheCompactHeader) {
  // A raw file leaves a compact header: 2 x 2 pixels of the screen's size, rows of 8 bytes.
  Image image = MakeImage(16, 16, 0, 0);
  const uint16_t compact[2] = {2 << 3, 2};
  std::vector<uint8_t> data(4);
  std::memcpy(data.data(), compact, 4);
  ASSERT_EQ(layer::LoadPicture(Write(RawFile(true, 4, data), "a.raw"), image.get()), 0);

  layer::bmp::BmpDescription bmp;
  bmp.width = 3;
  bmp.height = -3;
  const std::vector<uint8_t> file = layer::bmp::WriteBmp(bmp, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  ASSERT_EQ(layer::LoadPicture(Write(file), image.get()), 0);
  EXPECT_EQ(image_test::Word(image, 4), 0xFF000001u);
  EXPECT_EQ(image_test::Word(image, 8), 0xFF000002u);
  EXPECT_EQ(image_test::Word(image, 12), 0xFF000004u);
  EXPECT_EQ(image_test::Word(image, 16), 0xFF000005u);
  EXPECT_EQ(image_test::Word(image, 20), 0u);  // beyond the 2 x 2 picture area
}

TEST_F(RawPictureTest, BmpAfterAnOverstatingHeaderStaysInTheBlock) {
  // The raw header says 651 x 5000 pixels; the block holds 651 rows.
  Image image = MakeImage(651, 651);
  std::vector<uint8_t> header(20);
  const uint32_t fields[5] = {7, 4, 651, 5000, 2608};
  std::memcpy(header.data(), fields, sizeof fields);
  ASSERT_EQ(layer::LoadPicture(Write(RawFile(true, 20, header), "h.raw"), image.get()), 0);
  layer::bmp::BmpDescription bmp;
  bmp.width = 651;
  bmp.height = -700;
  ASSERT_EQ(layer::LoadPicture(
                Write(layer::bmp::WriteBmp(bmp, std::vector<uint32_t>(651 * 700, 0x0A0B0C))),
                image.get()),
            0);
  EXPECT_EQ(image_test::PixelAt(image, 650, 650), 0xFF0A0B0Cu);
}

}  // namespace
