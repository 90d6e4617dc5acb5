// SPDX-License-Identifier: MIT
// Where a picture's pixels go: its top-left cols x rows part lands in the buffer's top-left
// corner, everything else of the picture is dropped.
#pragma once

#include <cstdint>
#include <cstring>

#include "layer.h"

namespace layer {
struct ImageView;
}

namespace layer::bmp {

struct Placement {
  uint8_t* pixels = nullptr;  // the buffer's row 0
  int64_t pitch = 0;
  int32_t cols = 0;  // picture pixels x < cols are written
  int32_t rows = 0;  // picture rows y < rows (counted from the top) are written

  uint8_t* Row(int32_t y) const { return pixels + y * pitch; }
};

// The buffer a BMP or packed picture is loaded into: kPictureBadCall without an open screen
// or for a buffer whose pixels are not the screen's; otherwise kPictureOk and its view.
int32_t ReadTarget(ImageBuffer* image, ImageView& view);
// Where a width x height picture lands in that buffer; rows the buffer's header states beyond
// its block's end (after a raw load) are never written.
Placement PlaceIn(ImageBuffer* image, const ImageView& view, int32_t width, int32_t height);

inline void StorePixel(uint8_t* to, uint32_t pixel) {
  std::memcpy(to, &pixel, 4);
}

}  // namespace layer::bmp
