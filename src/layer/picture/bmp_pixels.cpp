// SPDX-License-Identifier: MIT
// Row conversion routines, one per stored pixel encoding, chosen once per file. The common
// encodings (24 and 32 bits with the standard masks, 8-bit palettes) have tight loops.
#include "picture/bmp_pixels.h"

#include <bit>
#include <cstring>

#include "picture/bmp_pixels_x86.h"
#include "picture/bmp_placement.h"

namespace layer::bmp {
namespace {

static_assert(std::endian::native == std::endian::little, "pixels are stored little-endian");

constexpr uint32_t kOpaque = 0xFF000000u;

bool SameMasks(const PixelMasks& a, const PixelMasks& b, bool compare_alpha) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue &&
         (!compare_alpha || a.alpha == b.alpha);
}

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

}  // namespace

RowConverter::RowConverter(const BmpLayout& layout)
    : palette_(layout.palette.data()),
      masks_(layout.masks, layout.bit_count > 24),
      convert_(nullptr) {
  const uint32_t n = layout.bit_count;
  const PixelMasks standard = DefaultMasks(n);
  if (n == 1) {
    convert_ = &Indexed<1>;
  } else if (n == 2) {
    convert_ = &Indexed<2>;
  } else if (n == 4) {
    convert_ = &Indexed<4>;
  } else if (n == 8) {
    convert_ = &Indexed8;
  } else if (n <= 16) {
    convert_ = &Masked16;
  } else if (n <= 24) {
    convert_ = SameMasks(layout.masks, standard, false) ? &Plain24 : &Masked24;
    if (convert_ == &Plain24 && x86::HasByteShuffle()) convert_ = &Plain24Wide;
  } else {
    convert_ = SameMasks(layout.masks, standard, true) ? &Plain32 : &Masked32;
  }
}

template <uint32_t kBits>
void RowConverter::Indexed(const RowConverter& self, const uint8_t* from, uint8_t* to,
                           int32_t count) {
  constexpr uint32_t kIndexMask = (1u << kBits) - 1;
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t bit = static_cast<uint32_t>(i) * kBits;
    const uint32_t index = (from[bit >> 3] >> (8 - kBits - (bit & 7))) & kIndexMask;
    StorePixel(to + 4 * i, self.palette_[index]);
  }
}

void RowConverter::Indexed8(const RowConverter& self, const uint8_t* from, uint8_t* to,
                            int32_t count) {
  // Eight indices per load, two pixels per store.
  const uint32_t* palette = self.palette_;
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    uint64_t indices;
    std::memcpy(&indices, from + i, 8);
    for (int k = 0; k < 4; ++k, indices >>= 16) {
      const uint64_t pair = palette[indices & 0xFF] | uint64_t{palette[(indices >> 8) & 0xFF]}
                                                          << 32;
      std::memcpy(to + 4 * i + 8 * k, &pair, 8);
    }
  }
  for (; i < count; ++i) StorePixel(to + 4 * i, palette[from[i]]);
}

void RowConverter::Plain24Wide(const RowConverter&, const uint8_t* from, uint8_t* to,
                               int32_t count) {
  x86::Expand24(from, to, count);
}

void RowConverter::Masked16(const RowConverter& self, const uint8_t* from, uint8_t* to,
                            int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t value = from[2 * i] | uint32_t{from[2 * i + 1]} << 8;
    StorePixel(to + 4 * i, self.masks_.Convert(value));
  }
}

void RowConverter::Masked24(const RowConverter& self, const uint8_t* from, uint8_t* to,
                            int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = from + 3 * i;
    const uint32_t value = p[0] | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
    StorePixel(to + 4 * i, self.masks_.Convert(value));
  }
}

void RowConverter::Plain24(const RowConverter&, const uint8_t* from, uint8_t* to, int32_t count) {
  // Four pixels (12 bytes) as three words at a time.
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const uint32_t w0 = Load32(from + 3 * i);
    const uint32_t w1 = Load32(from + 3 * i + 4);
    const uint32_t w2 = Load32(from + 3 * i + 8);
    StorePixel(to + 4 * i, kOpaque | w0);
    StorePixel(to + 4 * i + 4, kOpaque | w0 >> 24 | w1 << 8);
    StorePixel(to + 4 * i + 8, kOpaque | w1 >> 16 | w2 << 16);
    StorePixel(to + 4 * i + 12, kOpaque | w2 >> 8);
  }
  for (; i < count; ++i) {
    const uint8_t* p = from + 3 * i;
    StorePixel(to + 4 * i, kOpaque | p[0] | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16);
  }
}

void RowConverter::Masked32(const RowConverter& self, const uint8_t* from, uint8_t* to,
                            int32_t count) {
  for (int32_t i = 0; i < count; ++i)
    StorePixel(to + 4 * i, self.masks_.Convert(Load32(from + 4 * i)));
}

void RowConverter::Plain32(const RowConverter&, const uint8_t* from, uint8_t* to, int32_t count) {
  std::memcpy(to, from, static_cast<size_t>(count) * 4);
}

}  // namespace layer::bmp
