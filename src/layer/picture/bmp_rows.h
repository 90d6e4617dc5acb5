// SPDX-License-Identifier: MIT
// Reading uncompressed BMP pixel rows into a buffer.
#pragma once

#include <cstdint>

#include "picture/bmp_headers.h"
#include "picture/bmp_placement.h"
#include "picture/image_file.h"

namespace layer::bmp {

// Reads the rows of an uncompressed picture (compression 0 or 3) and converts the ones the
// placement keeps. Returns kPictureOk, or kPictureBadFile when a row cannot be read
// completely; rows converted before that stay in the buffer. Rows the placement drops are
// not read: their presence is checked against the file's length only.
int32_t ReadPixelRows(PictureFile& file, const BmpLayout& layout, const Placement& placement);

}  // namespace layer::bmp
