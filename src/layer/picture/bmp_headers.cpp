// SPDX-License-Identifier: MIT
// Reading and checking BMP headers. Checks run in a fixed order: signature, planes, width,
// height, compression, row order; then the bit count and its pairing with the compression,
// the masks and the pixel data offset.
#include "picture/bmp_headers.h"

#include <climits>

#include "picture/image_buffer.h"

namespace layer::bmp {
namespace {

constexpr uint64_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;        // 16-bit sizes, 3-byte palette entries
constexpr uint32_t kHeaderWithMasksBytes = 108;  // holds the four masks itself

struct InfoFields {
  int64_t width = 0;
  int64_t height = 0;
  uint32_t planes = 0;
  uint32_t bit_count = 0;
  uint32_t compression = 0;
  PixelMasks masks;
};

// Reads the fields an information header of size s holds; fields it lacks stay 0.
bool ReadInfoFields(PictureFile& file, uint32_t s, InfoFields& fields) {
  uint8_t info[56];
  if (s == kCoreHeaderBytes) {
    if (!file.ReadExact(kFileHeaderBytes, info, 12)) return false;
    fields.width = LoadLe16(info + 4);
    fields.height = LoadLe16(info + 6);
    fields.planes = LoadLe16(info + 8);
    fields.bit_count = LoadLe16(info + 10);
    return true;
  }
  const size_t wanted = s >= kHeaderWithMasksBytes ? 56 : s >= 24 ? 24 : s >= 20 ? 20 : 16;
  if (!file.ReadExact(kFileHeaderBytes, info, wanted)) return false;
  fields.width = static_cast<int32_t>(LoadLe32(info + 4));
  fields.height = static_cast<int32_t>(LoadLe32(info + 8));
  fields.planes = LoadLe16(info + 12);
  fields.bit_count = LoadLe16(info + 14);
  if (wanted >= 20) fields.compression = LoadLe32(info + 16);
  if (wanted >= 56) {
    fields.masks = {LoadLe32(info + 40), LoadLe32(info + 44), LoadLe32(info + 48),
                    LoadLe32(info + 52)};
  }
  return true;
}

bool IsAcceptedBitCount(uint32_t n) {
  return n == 1 || n == 2 || n == 4 || (n >= 8 && n <= 32);
}

// The 2^n palette entries that follow the information header, made opaque; the header's
// colour count is not consulted. Entries of a 12-byte header are 3 bytes, others 4.
bool ReadPalette(PictureFile& file, uint32_t s, BmpLayout& layout, uint64_t& palette_bytes) {
  const uint32_t entries = 1u << layout.bit_count;
  const uint32_t entry_bytes = s == kCoreHeaderBytes ? 3 : 4;
  uint8_t raw[256 * 4];
  palette_bytes = uint64_t{entries} * entry_bytes;
  if (!file.ReadExact(kFileHeaderBytes + s, raw, palette_bytes)) return false;
  layout.palette.fill(0xFF000000u);
  for (uint32_t i = 0; i < entries; ++i) {
    const uint8_t* entry = raw + i * entry_bytes;
    layout.palette[i] = 0xFF000000u | uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0];
  }
  return true;
}

// The masks of pixels wider than 8 bits: the header's own (size 108 and more), three after a
// shorter header, or the defaults of the bit count when the compression is not 3.
bool ReadMasks(PictureFile& file, uint32_t s, const PixelMasks& header_masks, BmpLayout& layout,
               uint64_t& mask_bytes) {
  mask_bytes = 0;
  if (layout.compression != kBitFields) {
    layout.masks = DefaultMasks(layout.bit_count);
  } else if (s >= kHeaderWithMasksBytes) {
    layout.masks = header_masks;
  } else {
    // Red, green and blue directly after the information header, whatever its size.
    uint8_t masks[12];
    if (!file.ReadExact(kFileHeaderBytes + s, masks, sizeof masks)) return false;
    layout.masks = {LoadLe32(masks), LoadLe32(masks + 4), LoadLe32(masks + 8), 0};
    mask_bytes = sizeof masks;
  }
  return true;
}

// A file's own red, green or blue mask that names bits beyond its stored pixel (above bit 15
// of a 16-bit pixel, above bit 23 of a 24-bit one) marks a damaged file. The alpha mask is
// used only with 32-bit pixels, so it is not checked.
bool ColourMasksFitThePixel(const BmpLayout& layout) {
  if (layout.bit_count <= 8 || layout.StoredBits() >= 32) return true;
  const uint32_t outside = ~((1u << layout.StoredBits()) - 1);
  return ((layout.masks.red | layout.masks.green | layout.masks.blue) & outside) == 0;
}

}  // namespace

int32_t ReadBmpLayout(PictureFile& file, BmpLayout& layout) {
  uint8_t header[kFileHeaderBytes];
  if (!file.ReadExact(0, header, 2) || header[0] != 'B' || header[1] != 'M') return kPictureBadFile;
  if (!file.ReadExact(0, header, sizeof header)) return kPictureBadFile;
  const uint32_t data_offset = LoadLe32(header + 10);

  uint8_t size_field[4];
  if (!file.ReadExact(kFileHeaderBytes, size_field, sizeof size_field)) return kPictureBadFile;
  const uint32_t s = LoadLe32(size_field);
  if (s < 16 && s != kCoreHeaderBytes) return kPictureBadFile;

  InfoFields fields;
  if (!ReadInfoFields(file, s, fields)) return kPictureBadFile;
  if (fields.planes > 1 || fields.width <= 0 || fields.height == 0 || fields.compression > 3) {
    return kPictureBadFile;
  }
  if (fields.height < 0) {
    // Rows stored top row first: only for uncompressed rows. INT_MIN has no positive twin.
    const bool rows_uncompressed =
        fields.compression == kUncompressed || fields.compression == kBitFields;
    if (!rows_uncompressed || fields.height == INT_MIN) return kPictureBadFile;
  }
  layout.width = static_cast<int32_t>(fields.width);
  layout.height = static_cast<int32_t>(fields.height < 0 ? -fields.height : fields.height);
  layout.top_down = fields.height < 0;
  layout.bit_count = fields.bit_count;
  layout.compression = fields.compression;

  if (!IsAcceptedBitCount(layout.bit_count)) return kPictureBadFile;
  if (layout.compression == kRunLength8 && layout.bit_count != 8) return kPictureBadFile;
  if (layout.compression == kRunLength4 && layout.bit_count != 4) return kPictureBadFile;

  // The palette, or masks after the header, lie between the headers and the pixels.
  uint64_t table_bytes = 0;
  const bool table_read = layout.bit_count <= 8
                              ? ReadPalette(file, s, layout, table_bytes)
                              : ReadMasks(file, s, fields.masks, layout, table_bytes);
  if (!table_read || !ColourMasksFitThePixel(layout)) return kPictureBadFile;

  // Offset 0 means the pixels follow the palette or masks. Any other offset must lie past the
  // headers: pixel data overlapping them is a damaged file.
  if (data_offset == 0) {
    layout.pixel_offset = kFileHeaderBytes + s + table_bytes;
  } else if (data_offset < kFileHeaderBytes + s) {
    return kPictureBadFile;
  } else {
    layout.pixel_offset = data_offset;
  }
  return kPictureOk;
}

}  // namespace layer::bmp
