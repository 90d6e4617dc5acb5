// SPDX-License-Identifier: MIT
// Writes BMP files in every variant the reader takes. The game never writes pictures: this
// serves the tests, the fuzzing corpus and the benchmarks, which build their files in code.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/bmp_masks.h"

namespace layer::bmp {

struct BmpDescription {
  int32_t width = 1;
  int32_t height = 1;  // negative: rows stored top row first
  uint16_t bit_count = 24;
  uint32_t compression = 0;
  uint32_t info_size = 40;  // 12, 16..107 or 108 and more
  uint16_t planes = 1;
  std::vector<uint32_t> palette;    // 0xRRGGBB; 2^n entries are written, missing ones are 0
  std::optional<PixelMasks> masks;  // written in the header (size >= 108) or after it
  bool zero_pixel_offset = false;   // write 0 as the pixel data offset
};

// A file holding the given stored pixel values (palette indices, or values for the masks),
// picture rows from the top, width values each (missing values are 0); rows are padded to 4
// bytes.
std::vector<uint8_t> WriteBmp(const BmpDescription& description,
                              const std::vector<uint32_t>& values);

// A file whose pixel data are the given bytes as they are (rows or a run-length stream).
std::vector<uint8_t> WriteBmpWithPixelData(const BmpDescription& description,
                                           const std::vector<uint8_t>& pixel_data);

// Stored bytes of one row of pixel values, padding included.
std::vector<uint8_t> PackRow(const uint32_t* values, int32_t count, uint16_t bit_count);

}  // namespace layer::bmp
