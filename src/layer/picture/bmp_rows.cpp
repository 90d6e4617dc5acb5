// SPDX-License-Identifier: MIT
// Uncompressed rows are read a chunk of whole rows at a time (one positional read per chunk)
// and converted from there. Only the bytes of kept pixels are read, so a picture far larger
// than the buffer costs no more memory or time than one that fits.
#include "picture/bmp_rows.h"

#include <algorithm>
#include <memory>

#include "picture/bmp_pixels.h"

namespace layer::bmp {
namespace {

// Large enough that the reads of a full-screen picture cost little beside the copying itself.
constexpr uint64_t kChunkBytes = uint64_t{256} * 1024;

}  // namespace

int32_t ReadPixelRows(PictureFile& file, const BmpLayout& layout, const Placement& placement) {
  const uint64_t row_bytes = layout.RowBytes();
  const uint64_t size = file.Size();
  const uint64_t complete_rows =
      size > layout.pixel_offset ? (size - layout.pixel_offset) / row_bytes : 0;
  const int32_t rows = placement.rows;
  const int32_t cols = placement.cols;
  const bool all_rows_present = complete_rows >= static_cast<uint64_t>(layout.height);
  if (rows <= 0 || cols <= 0) return all_rows_present ? kPictureOk : kPictureBadFile;

  // File rows are taken in file order; the kept ones are the picture's top rows, which a
  // bottom-up file stores last.
  const uint64_t first = layout.top_down ? 0 : static_cast<uint64_t>(layout.height - rows);
  const uint64_t end = first + static_cast<uint64_t>(rows);
  const size_t used_bytes =
      static_cast<size_t>((uint64_t{static_cast<uint32_t>(cols)} * layout.StoredBits() + 7) / 8);
  const uint64_t rows_per_chunk =
      std::clamp<uint64_t>(kChunkBytes / row_bytes, 1, static_cast<uint64_t>(rows));
  const size_t chunk_bytes = static_cast<size_t>((rows_per_chunk - 1) * row_bytes) + used_bytes;
  // Left uninitialised, as make_unique_for_overwrite would (which not every library has).
  std::unique_ptr<uint8_t[]> chunk(new uint8_t[chunk_bytes]);

  const RowConverter converter(layout);
  for (uint64_t row = first; row < end;) {
    if (row >= complete_rows) return kPictureBadFile;
    const uint64_t count = std::min({end - row, complete_rows - row, rows_per_chunk});
    const size_t read_bytes = static_cast<size_t>((count - 1) * row_bytes) + used_bytes;
    if (!file.ReadExact(layout.pixel_offset + row * row_bytes, chunk.get(), read_bytes)) {
      return kPictureBadFile;
    }
    for (uint64_t i = 0; i < count; ++i, ++row) {
      const auto y = static_cast<int32_t>(layout.top_down ? row : layout.height - 1 - row);
      converter.Convert(chunk.get() + i * row_bytes, placement.Row(y), cols);
    }
  }
  return all_rows_present ? kPictureOk : kPictureBadFile;
}

}  // namespace layer::bmp
