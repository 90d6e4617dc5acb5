// SPDX-License-Identifier: MIT
// The program's icon: the game's own board with a won line of crosses against two rings, and
// its encoding as PNG for the desktop's icon theme and the browser page's manifest.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/canvas.h"

namespace pictures {

// The icon drawn at the board picture's size, 651 x 651.
Canvas RenderIconArt();
// A canvas shrunk to size x size by averaging the area each new pixel covers.
Canvas Shrink(const Canvas& c, int size);
// An 8-bit RGB PNG file of the canvas.
std::vector<uint8_t> EncodePng(const Canvas& c);

}  // namespace pictures
