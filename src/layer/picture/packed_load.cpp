// SPDX-License-Identifier: MIT
// Loading a packed picture (packed_pixels.h): the browser page's pictures, a sixth of their
// BMP size. Like a BMP file it needs an open screen, keeps the buffer's header, writes the
// part of the buffer the picture covers with A = 0xFF, and decodes under the screen lock.
// A stream that ends early stops the load with status 3; the rows decoded before stay.
#include <algorithm>
#include <mutex>

#include "picture/bmp_placement.h"
#include "picture/image_buffer.h"
#include "picture/image_load.h"
#include "picture/packed_pixels.h"
#include "screen/screen.h"

namespace layer {
namespace {

// The range decoder: 32-bit range, bytes most significant first. Past the file's end it reads
// zero bytes and counts them.
class RangeDecoder {
 public:
  static constexpr bool kEncodes = false;
  explicit RangeDecoder(PictureFile& file) : stream_(file, packed::kHeaderBytes) {
    for (int i = 0; i < 5; ++i) code_ = (code_ << 8) | NextByte();
  }

  bool Bit(packed::Probability& probability, bool /*ignored*/) {
    const uint32_t bound = (range_ >> packed::Probability::kBits) * probability.Value();
    const bool bit = code_ < bound;
    if (bit) {
      range_ = bound;
    } else {
      code_ -= bound;
      range_ -= bound;
    }
    probability.Update(bit);
    while (range_ < (1u << 24)) {
      range_ <<= 8;
      code_ = (code_ << 8) | NextByte();
    }
    return bit;
  }

  // Whether the stream ran out: the decoder reads no further than the encoder wrote, so a
  // row decoded without a missing byte is the picture's.
  bool Overran() const { return missing_ > 0; }

 private:
  uint32_t NextByte() {
    uint8_t byte = 0;
    if (!stream_.Next(byte)) ++missing_;
    return byte;
  }

  ByteStream stream_;
  uint32_t code_ = 0;
  uint32_t range_ = 0xFFFFFFFFu;
  uint32_t missing_ = 0;
};

}  // namespace

int32_t LoadPackedPicture(PictureFile& file, ImageBuffer* image) {
  ImageView view;
  if (const int32_t status = bmp::ReadTarget(image, view); status != kPictureOk) return status;
  uint8_t header[packed::kHeaderBytes];
  if (!file.ReadExact(0, header, sizeof header)) return kPictureBadFile;
  const int32_t width = LoadLe16(header + 1);
  const int32_t height = LoadLe16(header + 3);
  if (width == 0 || height == 0) return kPictureBadFile;

  const bmp::Placement placement = bmp::PlaceIn(image, view, width, height);

  RangeDecoder decoder(file);
  packed::PixelCoder<RangeDecoder> pixels(width);
  std::vector<uint32_t> row(static_cast<size_t>(width));
  std::lock_guard lock(ScreenLock());
  for (int32_t y = 0; y < placement.rows; ++y) {
    pixels.CodeRow(decoder, y, row.data());
    if (decoder.Overran() || file.HadError()) return kPictureBadFile;
    uint8_t* to = placement.Row(y);
    for (int32_t x = 0; x < placement.cols; ++x) {
      bmp::StorePixel(to + 4 * x, 0xFF000000u | row[x]);
    }
  }
  return kPictureOk;
}

}  // namespace layer
