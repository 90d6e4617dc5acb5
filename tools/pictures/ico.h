// SPDX-License-Identifier: MIT
// Windows icon files (.ico): several square sizes of one picture, each stored as a 32-bit
// bitmap with an all-clear transparency mask, as the resource compiler and LoadImage take them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pictures/canvas.h"

namespace pictures {

// The sizes of the program's Windows icon: the shell's small, large and extra large icons at
// 100% to 250% display scale, and the 256-pixel tile.
inline constexpr int kIcoSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// An .ico file holding every canvas (square, 1 to 256 pixels), opaque, in the order given.
std::vector<uint8_t> EncodeIco(std::span<const Canvas> images);

}  // namespace pictures
