// SPDX-License-Identifier: MIT
#include "pictures/packed.h"

#include <stdexcept>

#include "layer/picture/packed_pixels.h"

namespace pictures {
namespace {

// The range encoder matching LoadPicture's decoder: 32-bit range, carries propagated through
// the bytes held back (a byte and a run of 0xFF bytes).
class RangeEncoder {
 public:
  static constexpr bool kEncodes = true;
  explicit RangeEncoder(std::vector<uint8_t>& out) : out_(out) {}

  bool Bit(layer::packed::Probability& probability, bool bit) {
    const uint32_t bound = (range_ >> layer::packed::Probability::kBits) * probability.Value();
    if (bit) {
      range_ = bound;
    } else {
      low_ += bound;
      range_ -= bound;
    }
    probability.Update(bit);
    while (range_ < (1u << 24)) {
      range_ <<= 8;
      ShiftLow();
    }
    return bit;
  }

  void Finish() {
    for (int i = 0; i < 5; ++i) ShiftLow();
  }

 private:
  void ShiftLow() {
    if (static_cast<uint32_t>(low_) < 0xFF000000u || (low_ >> 32) != 0) {
      const auto carry = static_cast<uint8_t>(low_ >> 32);
      uint8_t byte = held_;
      do {
        out_.push_back(static_cast<uint8_t>(byte + carry));
        byte = 0xFF;
      } while (--held_count_ != 0);
      held_ = static_cast<uint8_t>(low_ >> 24);
    }
    ++held_count_;
    low_ = (low_ & 0x00FFFFFFu) << 8;
  }

  std::vector<uint8_t>& out_;
  uint64_t low_ = 0;
  uint32_t range_ = 0xFFFFFFFFu;
  uint8_t held_ = 0;         // the byte held back in case a carry reaches it
  uint64_t held_count_ = 1;  // it and the 0xFF bytes behind it
};

}  // namespace

std::vector<uint8_t> EncodePacked(const std::vector<uint32_t>& pixels, int width, int height) {
  if (width < 1 || width > 0xFFFF || height < 1 || height > 0xFFFF ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    throw std::invalid_argument("a packed picture is 1 to 65535 pixels wide and high");
  }
  std::vector<uint8_t> out = {layer::packed::kFirstByte, static_cast<uint8_t>(width),
                              static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(height),
                              static_cast<uint8_t>(height >> 8)};
  RangeEncoder encoder(out);
  layer::packed::PixelCoder<RangeEncoder> coder(width);
  std::vector<uint32_t> row(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width, row.begin());
    coder.CodeRow(encoder, y, row.data());
  }
  encoder.Finish();
  return out;
}

std::vector<uint8_t> EncodePacked(const Canvas& c) {
  const std::vector<uint8_t> rgb = c.ToRgb8();
  std::vector<uint32_t> pixels(rgb.size() / 3);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
  }
  return EncodePacked(pixels, c.width(), c.height());
}

}  // namespace pictures
