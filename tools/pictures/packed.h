// SPDX-License-Identifier: MIT
// Writing a canvas as a packed picture, the format in which the browser page serves the
// game's pictures: the game's LoadPicture reads it back to the same pixels as the BMP file.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/canvas.h"

namespace pictures {

// Pixels given as 0x00RRGGBB, top row first; width and height 1 to 65535.
std::vector<uint8_t> EncodePacked(const std::vector<uint32_t>& pixels, int width, int height);
std::vector<uint8_t> EncodePacked(const Canvas& c);

}  // namespace pictures
