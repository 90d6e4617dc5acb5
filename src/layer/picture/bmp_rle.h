// SPDX-License-Identifier: MIT
// Decoding run-length compressed BMP pictures (8-bit and 4-bit palette pixels).
#pragma once

#include <cstdint>

#include "picture/bmp_headers.h"
#include "picture/bmp_placement.h"
#include "picture/image_file.h"

namespace layer::bmp {

// Decodes the run-length stream that starts at the layout's pixel offset: encoded runs,
// absolute runs, end of line, delta and end of picture. Pixels outside the picture are
// dropped, pixels the stream skips keep the buffer's value. Returns kPictureOk at the
// end-of-picture marker or when the stream moves past the picture's last row, kPictureBadFile
// when the file ends before.
int32_t DecodeRunLength(PictureFile& file, const BmpLayout& layout, const Placement& placement);

}  // namespace layer::bmp
