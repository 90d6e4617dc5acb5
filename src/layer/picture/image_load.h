// SPDX-License-Identifier: MIT
// The picture formats LoadPicture reads, each from an opened file into a given buffer.
#pragma once

#include <cstdint>

#include "layer.h"
#include "picture/image_file.h"

namespace layer {

inline constexpr uint8_t kRawLongForm = 0xFE;
inline constexpr uint8_t kRawShortForm = 0xFD;
inline constexpr uint8_t kBmpFirstByte = 0x42;  // 'B'

// A raw image file (first byte 0xFE or 0xFD): a byte copy of a buffer, cut to the block.
int32_t LoadRawPicture(PictureFile& file, uint8_t form, ImageBuffer* image);

// A BMP file; the buffer keeps its header.
int32_t LoadBmpPicture(PictureFile& file, ImageBuffer* image);

// A packed picture (packed_pixels.h), as the browser page serves its pictures; the buffer
// keeps its header.
int32_t LoadPackedPicture(PictureFile& file, ImageBuffer* image);

}  // namespace layer
