// SPDX-License-Identifier: MIT
// The memory of an image buffer and the two header forms that describe its pixels.
//
// A buffer is one block: a 32-byte ImageHeader on a 16-byte boundary, then height rows of
// pitch bytes. The block's size is kept in a hidden prefix just before the header, so that a
// header overwritten by a raw picture file can always be checked against the memory really
// there. ImageBuffer* points at the header, the block's first byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "layer.h"

namespace layer {

inline constexpr uint32_t kImageMarker = 7;
inline constexpr size_t kImageHeaderBytes = 32;
inline constexpr size_t kCompactHeaderBytes = 4;
inline constexpr uint32_t kDefaultFillColour = 0xFFFF00FFu;
inline constexpr int32_t kScreenBytesPerPixel = 4;

// Byte offsets of the ImageHeader fields.
inline constexpr size_t kHeaderMarker = 0;
inline constexpr size_t kHeaderBytesPerPixel = 4;
inline constexpr size_t kHeaderWidth = 8;
inline constexpr size_t kHeaderHeight = 12;
inline constexpr size_t kHeaderPitch = 16;

inline uint8_t* ImageBytes(ImageBuffer* image) {
  return reinterpret_cast<uint8_t*>(image);
}
inline const uint8_t* ImageBytes(const ImageBuffer* image) {
  return reinterpret_cast<const uint8_t*>(image);
}

// Bytes of the block from the header's first byte to its end.
size_t ImageBlockSize(const ImageBuffer* image);

inline uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline uint16_t LoadLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline void StoreLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// The pixel layout a buffer's header states, in either form, checked against its block.
struct ImageView {
  int32_t bytes_per_pixel = 0;
  int32_t width = 0;
  int32_t height = 0;
  int64_t pitch = 0;
  size_t pixels_offset = 0;  // where row 0 starts: after the 32- or 4-byte header
  size_t block_size = 0;

  // Rows 0..n-1 whose bytes [0, row_bytes) all lie inside the block.
  int32_t RowsInBlock(int64_t row_bytes) const;
};

// Reads the header of either form. False when it states a negative size or a pitch shorter
// than a row of pixels; such a buffer is treated as an illegal argument.
bool ReadImageView(const ImageBuffer* image, ImageView& view);

}  // namespace layer
