// SPDX-License-Identifier: MIT
// Converting one stored BMP row into 4-byte pixels 0xAARRGGBB.
#pragma once

#include <cstdint>

#include "picture/bmp_headers.h"

namespace layer::bmp {

// Converts the first count pixels of a stored row (from) into count 4-byte pixels (to).
// The row must hold at least (count x bit count + 7) / 8 bytes; nothing beyond is read.
class RowConverter {
 public:
  explicit RowConverter(const BmpLayout& layout);
  void Convert(const uint8_t* from, uint8_t* to, int32_t count) const {
    convert_(*this, from, to, count);
  }

 private:
  using Routine = void (*)(const RowConverter&, const uint8_t*, uint8_t*, int32_t);
  template <uint32_t kBits>
  static void Indexed(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);
  static void Indexed8(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);
  static void Plain24Wide(const RowConverter& self, const uint8_t* from, uint8_t* to,
                          int32_t count);
  static void Masked16(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);
  static void Masked24(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);
  static void Plain24(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);
  static void Masked32(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);
  static void Plain32(const RowConverter& self, const uint8_t* from, uint8_t* to, int32_t count);

  const uint32_t* palette_;
  MaskConverter masks_;
  Routine convert_;
};

}  // namespace layer::bmp
