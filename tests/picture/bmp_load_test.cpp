// SPDX-License-Identifier: MIT
// BMP pictures: pixel encodings, header variants, placement into the buffer and truncation.
#include <gtest/gtest.h>

#include <random>

#include "picture/bmp_pixels_x86.h"
#include "support/image_test_files.h"

namespace {

using image_test::Image;
using image_test::MakeImage;
using image_test::PixelArea;
using image_test::PixelAt;
using layer::bmp::BmpDescription;
using layer::bmp::WriteBmp;

constexpr uint32_t kFill = 0xFFFF00FFu;

std::vector<uint32_t> RandomValues(size_t count, uint32_t mask, uint32_t seed = 1) {
  std::mt19937 random(seed);
  std::vector<uint32_t> values(count);
  for (uint32_t& v : values) v = random() & mask;
  return values;
}

BmpDescription Describe(int32_t width, int32_t height, uint16_t bit_count) {
  BmpDescription d;
  d.width = width;
  d.height = height;
  d.bit_count = bit_count;
  return d;
}

class BmpLoadTest : public image_test::PictureTest {
 protected:
  // Loads the file into a new 651 x 651 buffer and returns the status.
  int32_t Load(const std::vector<uint8_t>& file, Image& image) {
    image = MakeImage(651, 651);
    return layer::LoadPicture(Write(file), image.get());
  }

  // Every buffer pixel holds want(x, y) inside cols x rows and the fill colour elsewhere.
  template <typename F>
  void ExpectPicture(const Image& image, int32_t cols, int32_t rows, F want) {
    int32_t wrong = 0;
    for (int32_t y = 0; y < 651; ++y) {
      for (int32_t x = 0; x < 651; ++x) {
        const uint32_t expected = (x < cols && y < rows) ? want(x, y) : kFill;
        if (PixelAt(image, x, y) != expected && ++wrong < 5) {
          ADD_FAILURE() << "(" << x << ", " << y << ") is " << std::hex << PixelAt(image, x, y)
                        << ", want " << expected;
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(BmpLoadTest, TrueColourPictureOfTheBufferSizeIsExact) {
  const auto values = RandomValues(651 * 651, 0xFFFFFF);
  Image image;
  ASSERT_EQ(Load(WriteBmp(Describe(651, 651, 24), values), image), 0);
  ExpectPicture(image, 651, 651, [&](int x, int y) { return 0xFF000000u | values[y * 651 + x]; });
}

TEST_F(BmpLoadTest, RowsOfEveryLengthConvertExactly) {
  // Lengths around the steps of the row loops (4, 8 and 64 pixels at a time) and their tails,
  // through the wide row forms where the processor has them and through the plain ones.
  const auto palette = RandomValues(256, 0xFFFFFF, 7);
  for (const bool wide : {true, false}) {
    layer::bmp::x86::AllowWideForms(wide);
    for (uint16_t bits : {8, 24}) {
      for (int32_t width : {1, 9, 10, 11, 63, 64, 65, 129, 651}) {
        SCOPED_TRACE(::testing::Message() << (wide ? "wide" : "plain") << " forms, " << bits
                                          << " bits, width " << width);
        const auto values = RandomValues(size_t(width) * 3, bits == 8 ? 0xFF : 0xFFFFFF, width);
        BmpDescription d = Describe(width, 3, bits);
        d.palette = palette;
        Image image;
        const int32_t status = Load(WriteBmp(d, values), image);
        EXPECT_EQ(status, 0);
        ExpectPicture(image, width, 3, [&](int x, int y) {
          const uint32_t v = values[y * width + x];
          return 0xFF000000u | (bits == 8 ? palette[v] : v);
        });
      }
    }
  }
  layer::bmp::x86::AllowWideForms(true);
}

TEST_F(BmpLoadTest, SmallerPictureLeavesTheRestFilled) {
  const auto values = RandomValues(640 * 480, 0xFFFFFF);
  Image image;
  ASSERT_EQ(Load(WriteBmp(Describe(640, 480, 24), values), image), 0);
  ExpectPicture(image, 640, 480, [&](int x, int y) { return 0xFF000000u | values[y * 640 + x]; });
  // Padding bytes at the row ends stay as created.
  EXPECT_EQ(image_test::Word(image, 32 + 2604), kFill);
}

TEST_F(BmpLoadTest, LargerPictureShowsItsTopLeftPart) {
  const auto values = RandomValues(700 * 700, 0xFFFFFF);
  for (int32_t height : {700, -700}) {
    SCOPED_TRACE(height);
    Image image;
    ASSERT_EQ(Load(WriteBmp(Describe(700, height, 24), values), image), 0);
    ExpectPicture(image, 651, 651, [&](int x, int y) { return 0xFF000000u | values[y * 700 + x]; });
  }
}

TEST_F(BmpLoadTest, TopDownAndBottomUpGiveTheSameBuffer) {
  for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    const auto values = RandomValues(37 * 23, bits == 32 ? 0xFFFFFFFF : (1u << bits) - 1, bits);
    BmpDescription d = Describe(37, 23, bits);
    d.palette = RandomValues(256, 0xFFFFFF, 99);
    Image bottom_up, top_down;
    ASSERT_EQ(Load(WriteBmp(d, values), bottom_up), 0);
    d.height = -23;
    ASSERT_EQ(Load(WriteBmp(d, values), top_down), 0);
    EXPECT_EQ(PixelArea(top_down), PixelArea(bottom_up));
    EXPECT_NE(PixelAt(top_down, 0, 0), kFill);
  }
}

TEST_F(BmpLoadTest, RowsSkipTheirPadding) {
  // Rows that end inside a byte or need padding: 4-bit x 3, 1-bit x 33, 2-bit x 5, and 20-bit
  // pixels, which take three whole bytes each.
  struct Case {
    uint16_t bits;
    int32_t width;
  };
  for (const Case c : {Case{4, 3}, Case{1, 33}, Case{2, 5}, Case{8, 5}, Case{24, 5}, Case{20, 3}}) {
    SCOPED_TRACE(c.bits);
    const int32_t height = 4;
    const bool palette = c.bits <= 8;
    const auto indices = RandomValues(size_t(c.width) * height, (1u << c.bits) - 1);
    BmpDescription d = Describe(c.width, height, c.bits);
    d.palette = RandomValues(256, 0xFFFFFF, 5);
    // Padding filled with ones: a reader that takes it for pixels shows other colours.
    std::vector<uint8_t> data;
    for (int32_t y = height - 1; y >= 0; --y) {
      auto row = layer::bmp::PackRow(&indices[size_t(y) * c.width], c.width, c.bits);
      const size_t used = (size_t(c.width) * (palette ? c.bits : 24) + 7) / 8;
      std::fill(row.begin() + used, row.end(), 0xFF);
      if (c.bits < 8 && (c.width * c.bits) % 8) row[used - 1] |= 0xFF >> ((c.width * c.bits) % 8);
      data.insert(data.end(), row.begin(), row.end());
    }
    Image image;
    ASSERT_EQ(Load(layer::bmp::WriteBmpWithPixelData(d, data), image), 0);
    ExpectPicture(image, c.width, height, [&](int x, int y) {
      const uint32_t v = indices[size_t(y) * c.width + x];
      return 0xFF000000u | (palette ? d.palette[v] : v);
    });
  }
}

TEST_F(BmpLoadTest, SixteenBitPixelsExpandTheirMasks) {
  BmpDescription d = Describe(4, 1, 16);
  Image image;
  ASSERT_EQ(Load(WriteBmp(d, {0x7FFF, 0x001F, 0x0010, 0x0421}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(PixelAt(image, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(image, 2, 0), 0xFF000084u);
  EXPECT_EQ(PixelAt(image, 3, 0), 0xFF080808u);

  d.compression = 3;
  d.masks = layer::bmp::PixelMasks{0xF800, 0x07E0, 0x001F, 0};
  ASSERT_EQ(Load(WriteBmp(d, {0x07E0, 0xF800, 0x0821, 0xFFFF}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(image, 1, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(image, 2, 0), 0xFF080408u);
  EXPECT_EQ(PixelAt(image, 3, 0), 0xFFFFFFFFu);

  // The alpha mask of a 108-byte header plays no part below 25 bits, wherever it points.
  d.info_size = 108;
  d.masks = layer::bmp::PixelMasks{0xF800, 0x07E0, 0x001F, 0xFF000000};
  ASSERT_EQ(Load(WriteBmp(d, {0x07E0, 0xF800, 0x0821, 0xFFFF}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(PixelAt(image, 3, 0), 0xFFFFFFFFu);
}

TEST_F(BmpLoadTest, MaskRuleCoversNarrowWideZeroAndScatteredMasks) {
  BmpDescription d = Describe(2, 1, 32);
  d.compression = 3;
  d.info_size = 108;
  // Red 3 bits, green 12 bits, blue none, alpha two bits apart (size 3, holes kept as zero).
  d.masks = layer::bmp::PixelMasks{0x00000007, 0x00FFF000, 0, 0x50000000};
  Image image;
  ASSERT_EQ(Load(WriteBmp(d, {0x50ABC005u, 0x10000002u}), image), 0);
  // red 5 -> 5 << 5 = 0xA0; green 0xABC -> 0xAB; alpha (0x5 of 3 bits) -> 0xA0.
  EXPECT_EQ(PixelAt(image, 0, 0), 0xA0A0AB00u);
  EXPECT_EQ(PixelAt(image, 1, 0), 0x20400000u);
}

TEST_F(BmpLoadTest, ThirtyTwoBitPixelsKeepTheirAlphaByteUnlessMasked) {
  BmpDescription d = Describe(2, 1, 32);
  Image image;
  ASSERT_EQ(Load(WriteBmp(d, {0x00302010u, 0x80FFEEDDu}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0x00302010u);
  EXPECT_EQ(PixelAt(image, 1, 0), 0x80FFEEDDu);

  // Masks after a 40-byte header carry no alpha mask: A is 0.
  d.compression = 3;
  d.masks = layer::bmp::PixelMasks{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  ASSERT_EQ(Load(WriteBmp(d, {0xFF302010u, 0x80FFEEDDu}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0x00302010u);
  EXPECT_EQ(PixelAt(image, 1, 0), 0x00FFEEDDu);

  // Swapped masks in a 108-byte header, alpha in the low byte.
  d.info_size = 108;
  d.masks = layer::bmp::PixelMasks{0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
  ASSERT_EQ(Load(WriteBmp(d, {0x11223344u, 0x000000FFu}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0x44332211u);
  EXPECT_EQ(PixelAt(image, 1, 0), 0xFF000000u);
}

TEST_F(BmpLoadTest, PaletteIsAlwaysTwoToTheBitCountEntries) {
  const auto values = RandomValues(20 * 10, 0xFF);
  BmpDescription d = Describe(20, 10, 8);
  d.palette = RandomValues(256, 0xFFFFFF, 3);
  std::vector<uint8_t> file = WriteBmp(d, values);
  file[46] = 2;  // a colour count the reader must not consult
  Image image;
  ASSERT_EQ(Load(file, image), 0);
  ExpectPicture(image, 20, 10,
                [&](int x, int y) { return 0xFF000000u | d.palette[values[y * 20 + x]]; });
}

TEST_F(BmpLoadTest, HeaderVariantsAgree) {
  // The same 8-bit and 24-bit pictures through every information header size and the
  // "pixels follow the palette" offset of 0. A 3500-byte header puts the palette and the rows
  // across the end of the first 4096 bytes, which the file reader takes in one go.
  const auto indices = RandomValues(9 * 7, 0xFF, 4);
  const auto palette = RandomValues(256, 0xFFFFFF, 6);
  const auto colour = [&](int x, int y) { return 0xFF000000u | palette[indices[y * 9 + x]]; };
  for (uint32_t info_size : {12u, 16u, 20u, 40u, 56u, 64u, 108u, 124u, 3500u}) {
    for (bool zero_offset : {false, true}) {
      SCOPED_TRACE(::testing::Message() << info_size << (zero_offset ? " offset 0" : ""));
      BmpDescription d = Describe(9, 7, 8);
      d.info_size = info_size;
      d.palette = palette;
      d.zero_pixel_offset = zero_offset;
      Image image;
      ASSERT_EQ(Load(WriteBmp(d, indices), image), 0);
      ExpectPicture(image, 9, 7, colour);

      std::vector<uint32_t> rgb(indices.size());
      for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = palette[indices[i]];
      d.bit_count = 24;
      ASSERT_EQ(Load(WriteBmp(d, rgb), image), 0);
      ExpectPicture(image, 9, 7, colour);
    }
  }
}

TEST_F(BmpLoadTest, BitFieldMasksFollowTheHeaderBelowSizeHundredEight) {
  // A 56-byte header has room for masks, but they are read after it.
  BmpDescription d = Describe(1, 1, 16);
  d.compression = 3;
  d.info_size = 56;
  d.masks = layer::bmp::PixelMasks{0xF800, 0x07E0, 0x001F, 0};
  std::vector<uint8_t> file = WriteBmp(d, {0xF800});
  file[54] = 0x1F;  // a decoy red mask where the header could hold one
  Image image;
  ASSERT_EQ(Load(file, image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFFFF0000u);
  d.zero_pixel_offset = true;
  ASSERT_EQ(Load(WriteBmp(d, {0x07E0}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFF00FF00u);
}

TEST_F(BmpLoadTest, PlanesZeroIsAccepted) {
  BmpDescription d = Describe(1, 1, 24);
  d.planes = 0;
  Image image;
  EXPECT_EQ(Load(WriteBmp(d, {0x123456}), image), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFF123456u);
}

TEST_F(BmpLoadTest, TruncatedRowsKeepThoseReadBefore) {
  const auto values = RandomValues(8 * 6, 0xFFFFFF);
  for (int32_t height : {6, -6}) {
    std::vector<uint8_t> file = WriteBmp(Describe(8, height, 24), values);
    file.pop_back();  // the last stored row loses its last byte
    Image image;
    ASSERT_EQ(Load(file, image), 3);
    // Five complete stored rows: the bottom five (bottom-up) or the top five (top-down).
    const int32_t first = height > 0 ? 1 : 0;
    for (int32_t y = 0; y < 6; ++y) {
      const bool kept = y >= first && y < first + 5;
      EXPECT_EQ(PixelAt(image, 3, y), kept ? 0xFF000000u | values[y * 8 + 3] : kFill) << y;
    }
  }
}

TEST_F(BmpLoadTest, LastRowNeedsItsPadding) {
  std::vector<uint8_t> file = WriteBmp(Describe(5, -2, 24), RandomValues(10, 0xFFFFFF));
  file.pop_back();  // 15 data bytes and 1 padding byte per row
  Image image;
  EXPECT_EQ(Load(file, image), 3);
  EXPECT_NE(PixelAt(image, 0, 0), kFill);
  EXPECT_EQ(PixelAt(image, 0, 1), kFill);
}

TEST_F(BmpLoadTest, AcceptsSeparatorsOfEitherKind) {
  std::filesystem::create_directory(dir_.path() / "sub");
  Write(WriteBmp(Describe(1, 1, 24), {0xABCDEF}), "sub/x.bmp");
  Image image = MakeImage(4, 4);
  EXPECT_EQ(layer::LoadPicture(dir_.path().string() + "\\sub\\x.bmp", image.get()), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFFABCDEFu);
}

TEST_F(BmpLoadTest, LongPathsAreReadWhole) {
  const std::filesystem::path deep = dir_.path() / std::string(120, 'd') / std::string(120, 'e');
  std::filesystem::create_directories(deep);
  const std::string name = (deep / std::string(100, 'n')).string() + ".bmp";
  ASSERT_GT(name.size(), 340u);
  Write(WriteBmp(Describe(1, 1, 24), {0xABCDEF}), name.substr(dir_.path().string().size() + 1));
  Image image = MakeImage(4, 4);
  EXPECT_EQ(layer::LoadPicture(name, image.get()), 0);
  EXPECT_EQ(PixelAt(image, 0, 0), 0xFFABCDEFu);
}

TEST_F(BmpLoadTest, ReportsMissingFilesAndIllegalCalls) {
  Image image = MakeImage(4, 4);
  const std::vector<uint8_t> before = PixelArea(image);
  EXPECT_EQ(layer::LoadPicture((dir_.path() / "none.bmp").string(), image.get()), 2);
  EXPECT_EQ(layer::LoadPicture(dir_.path().string(), image.get()), 3);  // a directory
  const std::string path = Write(WriteBmp(Describe(1, 1, 24), {0xABCDEF}));
  EXPECT_EQ(layer::LoadPicture(path, nullptr), 1);
  const uint32_t two = 2;
  std::memcpy(image_test::Bytes(image) + 4, &two, 4);  // pixels of 2 bytes
  EXPECT_EQ(layer::LoadPicture(path, image.get()), 1);
  EXPECT_EQ(PixelArea(image), before);
}

TEST(BmpLoadWithoutScreen, IsAnIllegalCall) {
  image_test::TempDir dir;
  layer::testing::UseHeadlessBackend();
  ASSERT_EQ(layer::OpenScreen(651, 651, 32, 0, 0, 0), 0);
  Image image = MakeImage(4, 4);
  layer::testing::CloseScreenForTest();
  EXPECT_EQ(layer::LoadPicture(dir.Write("a.bmp", WriteBmp(Describe(1, 1, 24), {1})), image.get()),
            1);
  EXPECT_EQ(PixelAt(image, 0, 0), kFill);
}

}  // namespace
