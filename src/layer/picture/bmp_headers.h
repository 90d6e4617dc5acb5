// SPDX-License-Identifier: MIT
// The BMP file header, information header, palette and masks: read, checked, and turned into
// the layout the pixel readers follow.
#pragma once

#include <array>
#include <cstdint>

#include "picture/bmp_masks.h"
#include "picture/image_file.h"

namespace layer::bmp {

inline constexpr uint32_t kUncompressed = 0;
inline constexpr uint32_t kRunLength8 = 1;
inline constexpr uint32_t kRunLength4 = 2;
inline constexpr uint32_t kBitFields = 3;

struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;     // always positive
  bool top_down = false;  // rows stored top row first (the header's height was negative)
  uint32_t bit_count = 0;
  uint32_t compression = 0;
  uint64_t pixel_offset = 0;  // file offset of the first pixel row or of the run-length data
  std::array<uint32_t, 256> palette{};  // 0xFF000000 | RGB, for bit counts up to 8
  PixelMasks masks;                     // for bit counts above 8

  // Bits one stored pixel takes: the bit count up to 8, else 2, 3 or 4 whole bytes.
  uint32_t StoredBits() const {
    return bit_count <= 8 ? bit_count : bit_count <= 16 ? 16 : bit_count <= 24 ? 24 : 32;
  }
  // Bytes of one stored row, padding included.
  uint64_t RowBytes() const {
    return (uint64_t{static_cast<uint32_t>(width)} * StoredBits() + 31) / 32 * 4;
  }
};

// Reads the headers, palette and masks of the file and checks them. Returns kPictureOk, or
// kPictureBadFile for a file that is not an accepted BMP picture or ends inside them.
int32_t ReadBmpLayout(PictureFile& file, BmpLayout& layout);

}  // namespace layer::bmp
