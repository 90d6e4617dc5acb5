// SPDX-License-Identifier: MIT
// Mask shifts and sizes, and the masks files use when they name none.
#include "picture/bmp_masks.h"

#include <bit>

namespace layer::bmp {

MaskComponent MaskComponent::FromMask(uint32_t mask) {
  MaskComponent component;
  if (mask == 0) return component;
  component.shift = static_cast<uint32_t>(std::countr_zero(mask));
  component.bits = mask >> component.shift;
  component.size = 32 - component.shift - static_cast<uint32_t>(std::countl_zero(mask));
  return component;
}

PixelMasks DefaultMasks(uint32_t bit_count) {
  if (bit_count > 16) return {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
  return {0x7C00u, 0x03E0u, 0x001Fu, 0};
}

MaskConverter::MaskConverter(const PixelMasks& masks, bool alpha_from_mask)
    : red_(MaskComponent::FromMask(masks.red)),
      green_(MaskComponent::FromMask(masks.green)),
      blue_(MaskComponent::FromMask(masks.blue)),
      alpha_(MaskComponent::FromMask(masks.alpha)),
      alpha_from_mask_(alpha_from_mask) {}

}  // namespace layer::bmp
