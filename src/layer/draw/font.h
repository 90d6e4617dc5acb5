// SPDX-License-Identifier: MIT
// The built-in 8x8 font: 256 glyphs of code page 437, 8 bytes each, one per pixel row from
// the top; in each byte bit 0 is the leftmost pixel and bit 7 the rightmost.
#pragma once

#include <cstdint>

namespace layer {

extern const uint8_t kFont8x8[256][8];

}  // namespace layer
