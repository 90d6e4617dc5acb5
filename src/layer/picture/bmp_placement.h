// SPDX-License-Identifier: MIT
// Where a picture's pixels go: its top-left cols x rows part lands in the buffer's top-left
// corner, everything else of the picture is dropped.
#pragma once

#include <cstdint>
#include <cstring>

namespace layer::bmp {

struct Placement {
  uint8_t* pixels = nullptr;  // the buffer's row 0
  int64_t pitch = 0;
  int32_t cols = 0;  // picture pixels x < cols are written
  int32_t rows = 0;  // picture rows y < rows (counted from the top) are written

  uint8_t* Row(int32_t y) const { return pixels + y * pitch; }
};

inline void StorePixel(uint8_t* to, uint32_t pixel) {
  std::memcpy(to, &pixel, 4);
}

}  // namespace layer::bmp
