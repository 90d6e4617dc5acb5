// SPDX-License-Identifier: MIT
// Damaged and hostile BMP files: every check refuses with status 3 and leaves the buffer as it
// was, and no file, however cut or altered, gets another answer than 0 or 3.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "support/image_test_files.h"

namespace {

using image_test::Image;
using image_test::MakeImage;
using image_test::PixelArea;
using layer::bmp::BmpDescription;
using layer::bmp::WriteBmp;

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& file, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(Bytes& file, size_t at, uint16_t v) {
  file[at] = static_cast<uint8_t>(v);
  file[at + 1] = static_cast<uint8_t>(v >> 8);
}

// Field offsets of a file with a 40-byte information header.
constexpr size_t kOffset = 10, kInfoSize = 14, kWidth = 18, kHeight = 22, kPlanes = 26,
                 kBitCount = 28, kCompression = 30;

Bytes PaletteFile() {
  BmpDescription d;
  d.width = 4;
  d.height = 3;
  d.bit_count = 8;
  d.palette = {0x102030, 0x405060};
  return WriteBmp(d, {0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 1, 1});
}

Bytes TrueColourFile(int32_t width, int32_t height) {
  BmpDescription d;
  d.width = width;
  d.height = height;
  return WriteBmp(d, std::vector<uint32_t>(size_t(width) * std::abs(height), 0x112233));
}

Bytes BitFieldsFile(uint16_t bit_count, layer::bmp::PixelMasks masks, uint32_t info_size = 40) {
  BmpDescription d;
  d.bit_count = bit_count;
  d.compression = 3;
  d.info_size = info_size;
  d.masks = masks;
  return WriteBmp(d, {1});
}

struct BadFile {
  const char* name;
  std::function<Bytes()> make;
};
void PrintTo(const BadFile& file, std::ostream* out) {
  *out << file.name;
}

Bytes Changed(Bytes file, const std::function<void(Bytes&)>& change) {
  change(file);
  return file;
}

const BadFile kBadFiles[] = {
    {"second byte not M", [] { return Changed(PaletteFile(), [](Bytes& f) { f[1] = 'X'; }); }},
    {"empty file", [] { return Bytes{}; }},
    {"unknown first byte", [] { return Changed(PaletteFile(), [](Bytes& f) { f[0] = 0x89; }); }},
    {"just B", [] { return Bytes{'B'}; }},
    {"cut in the file header", [] { return Bytes{'B', 'M', 0, 0, 0, 0}; }},
    {"cut in the size field",
     [] { return Changed(PaletteFile(), [](Bytes& f) { f.resize(16); }); }},
    {"cut in the information header",
     [] { return Changed(PaletteFile(), [](Bytes& f) { f.resize(30); }); }},
    {"header size 14",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kInfoSize, 14); }); }},
    {"header size 0",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kInfoSize, 0); }); }},
    {"header size 11",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kInfoSize, 11); }); }},
    {"huge header size",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kInfoSize, 0xFFFFFFF0u); }); }},
    {"huge header size, true colour",
     [] {
       return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put32(f, kInfoSize, 0xFFFFFFF0u); });
     }},
    {"planes 2", [] { return Changed(PaletteFile(), [](Bytes& f) { Put16(f, kPlanes, 2); }); }},
    {"width 0", [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kWidth, 0); }); }},
    {"width negative",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kWidth, uint32_t(-4)); }); }},
    {"height 0", [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kHeight, 0); }); }},
    {"height INT_MIN",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kHeight, 0x80000000u); }); }},
    {"compression 4",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kCompression, 4); }); }},
    {"compression huge",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kCompression, 0xFFFFFFFFu); }); }},
    {"top-down run-length 8",
     [] {
       return Changed(PaletteFile(), [](Bytes& f) {
         Put32(f, kHeight, uint32_t(-3));
         Put32(f, kCompression, 1);
       });
     }},
    {"run-length 8 with 24 bits",
     [] { return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put32(f, kCompression, 1); }); }},
    {"run-length 4 with 8 bits",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put32(f, kCompression, 2); }); }},
    {"bit count 0",
     [] { return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put16(f, kBitCount, 0); }); }},
    {"bit count 3",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put16(f, kBitCount, 3); }); }},
    {"bit count 5",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put16(f, kBitCount, 5); }); }},
    {"bit count 6",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put16(f, kBitCount, 6); }); }},
    {"bit count 7",
     [] { return Changed(PaletteFile(), [](Bytes& f) { Put16(f, kBitCount, 7); }); }},
    {"bit count 33",
     [] { return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put16(f, kBitCount, 33); }); }},
    {"bit count 65535",
     [] { return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put16(f, kBitCount, 65535); }); }},
    {"palette past the end",
     [] { return Changed(PaletteFile(), [](Bytes& f) { f.resize(54 + 1023); }); }},
    {"masks past the end",
     [] {
       return Changed(BitFieldsFile(16, {0xF800, 0x07E0, 0x001F, 0}),
                      [](Bytes& f) { f.resize(54 + 10); });
     }},
    {"red mask beyond a 16-bit pixel",
     [] {
       return BitFieldsFile(16, {0x1F0000, 0x07E0, 0x1F, 0});
     }},
    {"blue mask beyond a 24-bit pixel in a 108-byte header",
     [] {
       return BitFieldsFile(24, {0xFF0000, 0xFF00, 0xFF000000, 0}, 108);
     }},
    {"pixel offset inside the headers",
     [] { return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put32(f, kOffset, 20); }); }},
    {"pixel offset past the end",
     [] {
       return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put32(f, kOffset, 0xFFFFFFFFu); });
     }},
    {"65536 x 65536 on a tiny file",
     [] {
       return Changed(TrueColourFile(2, 2), [](Bytes& f) {
         Put32(f, kWidth, 65536);
         Put32(f, kHeight, 65536);
       });
     }},
    {"widest on a tiny file",
     [] {
       return Changed(TrueColourFile(2, 2), [](Bytes& f) {
         Put32(f, kWidth, INT_MAX);
         Put16(f, kBitCount, 32);
       });
     }},
    {"tallest on a tiny file",
     [] { return Changed(TrueColourFile(2, 2), [](Bytes& f) { Put32(f, kHeight, INT_MAX); }); }},
};

class BmpChecksTest : public image_test::PictureTest,
                      public ::testing::WithParamInterface<BadFile> {};

TEST_P(BmpChecksTest, RefusesAndLeavesTheBuffer) {
  Image image = MakeImage(651, 651);
  const Bytes before = PixelArea(image);
  EXPECT_EQ(layer::LoadPicture(Write(GetParam().make()), image.get()), 3);
  EXPECT_EQ(PixelArea(image), before);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, BmpChecksTest, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

// Small valid files of several kinds, to be cut and altered.
std::vector<Bytes> SampleFiles() {
  std::vector<Bytes> files;
  BmpDescription core;
  core.info_size = 12;
  core.width = 9;
  core.height = 3;
  core.bit_count = 1;
  core.palette = {0, 0xFFFFFF};
  files.push_back(WriteBmp(core, std::vector<uint32_t>(27, 1)));
  BmpDescription masked;
  masked.width = 3;
  masked.height = -2;
  masked.bit_count = 16;
  masked.compression = 3;
  masked.masks = layer::bmp::PixelMasks{0xF800, 0x07E0, 0x001F, 0};
  files.push_back(WriteBmp(masked, {1, 2, 3, 4, 5, 6}));
  BmpDescription v4;
  v4.info_size = 108;
  v4.width = 2;
  v4.height = 2;
  v4.bit_count = 32;
  v4.compression = 3;
  v4.masks = layer::bmp::PixelMasks{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  files.push_back(WriteBmp(v4, {1, 2, 3, 4}));
  BmpDescription rle;
  rle.width = 4;
  rle.height = 2;
  rle.bit_count = 4;
  rle.compression = 2;
  files.push_back(layer::bmp::WriteBmpWithPixelData(rle, {4, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1}));
  return files;
}

TEST_F(BmpChecksTest, EveryCutFileIsRefused) {
  Image image = MakeImage(16, 16);
  for (const Bytes& file : SampleFiles()) {
    EXPECT_EQ(layer::LoadPicture(Write(file), image.get()), 0);
    for (size_t length = 0; length < file.size(); ++length) {
      const Bytes cut(file.begin(), file.begin() + length);
      ASSERT_EQ(layer::LoadPicture(Write(cut), image.get()), 3) << length << " of " << file.size();
    }
  }
}

TEST_F(BmpChecksTest, AlteredFilesGiveZeroOrThree) {
  // Memory safety itself is checked by the sanitizer builds running this.
  Image image = MakeImage(8, 8);
  for (const Bytes& file : SampleFiles()) {
    for (size_t at = 0; at < std::min<size_t>(file.size(), 80); ++at) {
      for (uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
        Bytes altered = file;
        altered[at] = value;
        const int32_t status = layer::LoadPicture(Write(altered), image.get());
        ASSERT_TRUE(status == 0 || status == 3) << at << " = " << int(value) << ": " << status;
      }
    }
  }
}

}  // namespace
