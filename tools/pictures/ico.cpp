// SPDX-License-Identifier: MIT
#include "pictures/ico.h"

#include <stdexcept>

#include "pictures/byte_order.h"

namespace pictures {
namespace {

constexpr uint32_t kDirectoryBytes = 6;
constexpr uint32_t kEntryBytes = 16;
constexpr uint32_t kInfoHeaderBytes = 40;

// Bytes of one row of the 1-bit mask, padded to 32 bits.
uint32_t MaskRowBytes(int size) {
  return (static_cast<uint32_t>(size) + 31) / 32 * 4;
}

uint32_t ImageBytes(int size) {
  const uint32_t n = static_cast<uint32_t>(size);
  return kInfoHeaderBytes + n * n * 4 + MaskRowBytes(size) * n;
}

// One icon image: the information header (twice the height, for colour and mask), the
// colour rows as B, G, R, A from the bottom row up, then the mask rows, all 0 (opaque).
void PutImage(std::vector<uint8_t>& out, const Canvas& c) {
  const uint32_t size = static_cast<uint32_t>(c.width());
  Put32(out, kInfoHeaderBytes);
  Put32(out, size);
  Put32(out, size * 2);
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // no compression
  Put32(out, ImageBytes(c.width()) - kInfoHeaderBytes);
  for (int i = 0; i < 4; ++i) Put32(out, 0);  // resolution, colours used and important
  const std::vector<uint8_t> rgb = c.ToRgb8();
  for (int y = c.height() - 1; y >= 0; --y) {
    for (int x = 0; x < c.width(); ++x) {
      const size_t i = (static_cast<size_t>(y) * size + static_cast<size_t>(x)) * 3;
      out.insert(out.end(), {rgb[i + 2], rgb[i + 1], rgb[i], 0xFF});
    }
  }
  out.insert(out.end(), static_cast<size_t>(MaskRowBytes(c.width())) * size, 0);
}

}  // namespace

std::vector<uint8_t> EncodeIco(std::span<const Canvas> images) {
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = kDirectoryBytes + kEntryBytes * static_cast<uint32_t>(images.size());
  for (const Canvas& c : images) {
    if (c.width() != c.height() || c.width() < 1 || c.width() > 256) {
      throw std::invalid_argument("icon images are square, 1 to 256 pixels");
    }
    out.push_back(static_cast<uint8_t>(c.width() & 0xFF));  // 256 is written as 0
    out.push_back(static_cast<uint8_t>(c.height() & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, ImageBytes(c.width()));
    Put32(out, offset);
    offset += ImageBytes(c.width());
  }
  for (const Canvas& c : images) PutImage(out, c);
  return out;
}

}  // namespace pictures
