// SPDX-License-Identifier: MIT
// Writes the fuzzer's seed corpus: small valid pictures of every accepted variant.
// Usage: make_seed_corpus <directory>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pictures/packed.h"
#include "support/bmp_writer.h"

namespace {

using layer::bmp::BmpDescription;
using layer::bmp::PixelMasks;

std::vector<uint32_t> Values(size_t count, uint32_t mask) {
  std::vector<uint32_t> values(count);
  uint32_t state = 12345;
  for (uint32_t& v : values) {
    state = state * 1103515245u + 12345u;
    v = (state >> 5) & mask;
  }
  return values;
}

BmpDescription Describe(int32_t width, int32_t height, uint16_t bits, uint32_t info_size = 40) {
  BmpDescription d;
  d.width = width;
  d.height = height;
  d.bit_count = bits;
  d.info_size = info_size;
  for (uint32_t i = 0; i < (bits <= 8 ? (1u << bits) : 0); ++i) d.palette.push_back(i * 0x010305u);
  return d;
}

std::vector<uint8_t> Picture(const BmpDescription& d) {
  const uint32_t mask = d.bit_count >= 32 ? 0xFFFFFFFFu : (1u << d.bit_count) - 1;
  return layer::bmp::WriteBmp(d, Values(size_t(d.width) * std::abs(d.height), mask));
}

std::vector<uint8_t> Raw(bool long_form, const std::vector<uint8_t>& data) {
  const auto n = static_cast<uint32_t>(data.size());
  std::vector<uint8_t> file =
      long_form ? std::vector<uint8_t>{0xFE, uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16),
                                       uint8_t(n >> 24)}
                : std::vector<uint8_t>{0xFD, 0, 0, 0, 0, uint8_t(n), uint8_t(n >> 8)};
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path directory = argv[1];
  std::filesystem::create_directories(directory);
  int written = 0;
  const auto save = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(directory / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ++written;
  };

  for (uint16_t bits : {1, 2, 4, 8, 16, 24, 32}) {
    const std::string n = std::to_string(bits);
    save("bmp" + n + "_bottom_up", Picture(Describe(7, 5, bits)));
    save("bmp" + n + "_top_down", Picture(Describe(7, -5, bits)));
    save("bmp" + n + "_header16", Picture(Describe(6, 3, bits, 16)));
    save("bmp" + n + "_header124", Picture(Describe(5, 4, bits, 124)));
    BmpDescription zero_offset = Describe(3, 2, bits);
    zero_offset.zero_pixel_offset = true;
    save("bmp" + n + "_offset0", Picture(zero_offset));
  }
  for (uint16_t bits : {1, 4, 8, 24})
    save("core" + std::to_string(bits), Picture(Describe(9, 4, bits, 12)));

  BmpDescription bitfields16 = Describe(5, 3, 16);
  bitfields16.compression = 3;
  bitfields16.masks = PixelMasks{0xF800, 0x07E0, 0x001F, 0};
  save("bitfields16_565", Picture(bitfields16));
  bitfields16.info_size = 56;
  save("bitfields16_header56", Picture(bitfields16));
  BmpDescription bitfields32 = Describe(4, -3, 32, 108);
  bitfields32.compression = 3;
  bitfields32.masks = PixelMasks{0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
  save("bitfields32_header108", Picture(bitfields32));
  bitfields32.info_size = 40;
  bitfields32.masks = PixelMasks{0x3FF00000, 0x000FFC00, 0x000003FF, 0};
  save("bitfields32_10bit", Picture(bitfields32));

  BmpDescription rle8 = Describe(6, 4, 8);
  rle8.compression = 1;
  save("rle8", layer::bmp::WriteBmpWithPixelData(
                   rle8, {3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 1, 2, 9, 0, 0, 7, 2, 0, 1}));
  BmpDescription rle4 = Describe(7, 3, 4);
  rle4.compression = 2;
  save("rle4", layer::bmp::WriteBmpWithPixelData(
                   rle4, {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 2, 2, 1, 3, 0xAB, 0, 1}));

  // Raw images: a full-header buffer of 3 x 2 pixels (pitch 16) and a compact one.
  std::vector<uint8_t> full(32 + 2 * 16, 0x5A);
  const uint32_t header[5] = {7, 4, 3, 2, 16};
  std::memcpy(full.data(), header, sizeof header);
  std::fill(full.begin() + 20, full.begin() + 32, 0);
  save("raw_long", Raw(true, full));
  save("raw_short", Raw(false, full));
  std::vector<uint8_t> compact = {3 << 3, 0, 2, 0};
  compact.resize(4 + 24, 0x33);
  save("raw_compact", Raw(true, compact));

  // A packed picture of 9 x 5 pixels: copies, recent colours and predicted ones.
  std::vector<uint32_t> packed(9 * 5);
  for (size_t i = 0; i < packed.size(); ++i) packed[i] = (i % 4 == 0) ? 0x204060 : i * 0x010305;
  save("packed", pictures::EncodePacked(packed, 9, 5));

  std::printf("wrote %d seed files to %s\n", written, directory.c_str());
  return 0;
}
