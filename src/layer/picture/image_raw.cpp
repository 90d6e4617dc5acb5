// SPDX-License-Identifier: MIT
// Raw image files: a one-byte form, a data length L and L bytes copied over the buffer's
// first bytes, header included. The copy is cut to the buffer's block.
#include <algorithm>

#include "picture/image_buffer.h"
#include "picture/image_load.h"

namespace layer {

int32_t LoadRawPicture(PictureFile& file, uint8_t form, ImageBuffer* image) {
  uint64_t length = 0;
  uint64_t data_offset = 0;
  if (form == kRawLongForm) {
    uint8_t field[4];
    if (!file.ReadExact(1, field, sizeof field)) return kPictureBadFile;
    length = LoadLe32(field);
    data_offset = 5;
  } else {
    uint8_t fields[6];  // four ignored bytes, then a 16-bit length
    if (!file.ReadExact(1, fields, sizeof fields)) return kPictureBadFile;
    length = LoadLe16(fields + 4);
    data_offset = 7;
  }
  if (length == 0) return kPictureBadFile;
  // A file shorter than L copies what is there; one longer than the block stops at its end.
  const size_t wanted = static_cast<size_t>(std::min<uint64_t>(length, ImageBlockSize(image)));
  file.ReadAt(data_offset, ImageBytes(image), wanted);
  return file.HadError() ? kPictureBadFile : kPictureOk;
}

}  // namespace layer
