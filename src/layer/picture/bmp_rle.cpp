// SPDX-License-Identifier: MIT
// Run-length decoding. Rows are stored bottom row first; the decoder walks a position
// (x, stored row) and writes each pixel whose place lies inside the kept part of the picture.
#include "picture/bmp_rle.h"

#include <algorithm>

namespace layer::bmp {
namespace {

constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfPicture = 1;
constexpr uint8_t kDelta = 2;

class RunWriter {
 public:
  RunWriter(const BmpLayout& layout, const Placement& placement)
      : layout_(layout), placement_(placement), four_bit_(layout.bit_count == 4) {}

  // Whether the position has left the picture at its top: nothing more can be drawn.
  bool PastPicture() const { return stored_row_ >= layout_.height; }

  // count pixels alternating between the two 4-bit indices of value (4-bit), or of index value.
  void Encoded(uint32_t count, uint8_t value) {
    uint8_t* row = KeptRow();
    if (row) {
      const int64_t stop = std::min<int64_t>(x_ + count, placement_.cols);
      for (int64_t x = x_; x < stop; ++x) {
        const uint32_t index = !four_bit_ ? value : ((x - x_) & 1) ? (value & 15) : (value >> 4);
        StorePixel(row + 4 * x, layout_.palette[index]);
      }
    }
    x_ += count;
  }

  void Single(uint8_t index) {
    uint8_t* row = KeptRow();
    if (row && x_ < placement_.cols) StorePixel(row + 4 * x_, layout_.palette[index]);
    ++x_;
  }

  void EndOfLine() {
    x_ = 0;
    ++stored_row_;
  }
  void Move(uint8_t dx, uint8_t dy) {
    x_ += dx;
    stored_row_ += dy;
  }

 private:
  // The buffer row the current stored row lands in, or nullptr when it is dropped.
  uint8_t* KeptRow() const {
    if (stored_row_ >= layout_.height) return nullptr;
    const int64_t y = layout_.height - 1 - stored_row_;
    return y < placement_.rows ? placement_.Row(static_cast<int32_t>(y)) : nullptr;
  }

  const BmpLayout& layout_;
  const Placement& placement_;
  const bool four_bit_;
  int64_t x_ = 0;
  int64_t stored_row_ = 0;
};

}  // namespace

int32_t DecodeRunLength(PictureFile& file, const BmpLayout& layout, const Placement& placement) {
  ByteStream stream(file, layout.pixel_offset);
  RunWriter writer(layout, placement);
  const bool four_bit = layout.bit_count == 4;
  uint8_t count = 0;
  uint8_t value = 0;
  while (!writer.PastPicture()) {
    if (!stream.Next(count) || !stream.Next(value)) return kPictureBadFile;
    if (count > 0) {
      writer.Encoded(count, value);
      continue;
    }
    switch (value) {
      case kEndOfLine:
        writer.EndOfLine();
        break;
      case kEndOfPicture:
        return kPictureOk;
      case kDelta: {
        uint8_t dx = 0;
        uint8_t dy = 0;
        if (!stream.Next(dx) || !stream.Next(dy)) return kPictureBadFile;
        writer.Move(dx, dy);
        break;
      }
      default: {
        // An absolute run of `value` pixels, its bytes padded to a 16-bit boundary.
        const uint32_t pixels = value;
        const uint32_t bytes = four_bit ? (pixels + 1) / 2 : pixels;
        uint8_t byte = 0;
        for (uint32_t i = 0; i < bytes; ++i) {
          if (!stream.Next(byte)) return kPictureBadFile;
          if (!four_bit) {
            writer.Single(byte);
          } else {
            writer.Single(byte >> 4);
            if (2 * i + 1 < pixels) writer.Single(byte & 15);
          }
        }
        if ((bytes & 1) && !stream.Next(byte)) return kPictureBadFile;
        break;
      }
    }
  }
  return kPictureOk;
}

}  // namespace layer::bmp
