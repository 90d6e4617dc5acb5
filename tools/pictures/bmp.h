// SPDX-License-Identifier: MIT
// Writing a canvas as an uncompressed 24-bit BMP file (BITMAPINFOHEADER, bottom row first,
// rows padded to 4 bytes).
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/canvas.h"

namespace pictures {

constexpr uint32_t kBmpHeaderBytes = 14 + 40;

// Bytes of one stored pixel row, padding included.
uint32_t BmpRowBytes(int width);
std::vector<uint8_t> EncodeBmp24(const Canvas& c);

}  // namespace pictures
