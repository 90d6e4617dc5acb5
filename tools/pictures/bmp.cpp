// SPDX-License-Identifier: MIT
#include "pictures/bmp.h"

#include "pictures/byte_order.h"

namespace pictures {

uint32_t BmpRowBytes(int width) {
  return (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
}

std::vector<uint8_t> EncodeBmp24(const Canvas& c) {
  const uint32_t row_bytes = BmpRowBytes(c.width());
  const uint32_t data_bytes = row_bytes * static_cast<uint32_t>(c.height());
  std::vector<uint8_t> out;
  out.reserve(kBmpHeaderBytes + data_bytes);
  // File header.
  out.push_back('B');
  out.push_back('M');
  Put32(out, kBmpHeaderBytes + data_bytes);
  Put32(out, 0);  // two reserved 16-bit fields
  Put32(out, kBmpHeaderBytes);
  // Information header.
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(c.width()));
  Put32(out, static_cast<uint32_t>(c.height()));  // positive: bottom row first
  Put16(out, 1);                                  // planes
  Put16(out, 24);                                 // bits per pixel
  Put32(out, 0);                                  // no compression
  Put32(out, data_bytes);
  Put32(out, 2835);  // 72 dpi, in pixels per metre
  Put32(out, 2835);
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours
  const std::vector<uint8_t> rgb = c.ToRgb8();
  for (int y = c.height() - 1; y >= 0; --y) {
    const size_t row_start = static_cast<size_t>(y) * static_cast<size_t>(c.width()) * 3;
    for (int x = 0; x < c.width(); ++x) {
      const size_t i = row_start + static_cast<size_t>(x) * 3;
      out.push_back(rgb[i + 2]);
      out.push_back(rgb[i + 1]);
      out.push_back(rgb[i]);
    }
    for (uint32_t pad = static_cast<uint32_t>(c.width()) * 3; pad < row_bytes; ++pad) {
      out.push_back(0);
    }
  }
  return out;
}

}  // namespace pictures
