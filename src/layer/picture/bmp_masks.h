// SPDX-License-Identifier: MIT
// Colour masks of BMP pixels wider than 8 bits: each component is cut out by its mask and
// widened or narrowed to 8 bits.
#pragma once

#include <cstdint>

namespace layer::bmp {

// One colour component. A mask of 0 gives the component 0.
struct MaskComponent {
  uint32_t shift = 0;  // zero bits below the mask's lowest set bit
  uint32_t bits = 0;   // m >> shift
  uint32_t size = 0;   // positions from the lowest to the highest set bit, both included

  static MaskComponent FromMask(uint32_t mask);

  // The component of a pixel value as an 8-bit value.
  uint32_t Extract(uint32_t value) const {
    const uint32_t v = (value >> shift) & bits;
    if (size > 8) return v >> (size - 8);
    if (size >= 4) return (v << (8 - size)) | (v >> (2 * size - 8));
    return size == 0 ? 0 : v << (8 - size);
  }
};

struct PixelMasks {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
  uint32_t alpha = 0;
};

// The masks a file without its own masks uses for a bit count above 8.
PixelMasks DefaultMasks(uint32_t bit_count);

// Turns pixel values into 0xAARRGGBB.
class MaskConverter {
 public:
  // alpha_from_mask: the A byte comes from the alpha mask (pixels of 25 to 32 bits); otherwise
  // it is 0xFF.
  MaskConverter(const PixelMasks& masks, bool alpha_from_mask);

  uint32_t Convert(uint32_t value) const {
    const uint32_t alpha = alpha_from_mask_ ? alpha_.Extract(value) : 0xFF;
    return alpha << 24 | red_.Extract(value) << 16 | green_.Extract(value) << 8 |
           blue_.Extract(value);
  }

 private:
  MaskComponent red_, green_, blue_, alpha_;
  bool alpha_from_mask_;
};

}  // namespace layer::bmp
