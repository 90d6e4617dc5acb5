// SPDX-License-Identifier: MIT
// LoadPicture: opens the file and hands it to the reader its first byte names.
#include "picture/image_load.h"

#include <algorithm>
#include <string>

namespace layer {
namespace {

// Both separators are taken as the platform's. Names are used whole, however long.
std::string PlatformPath(std::string_view file_name) {
  std::string path(file_name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

int32_t LoadPicture(std::string_view file_name, ImageBuffer* image) {
  if (!image) return 1;
  PictureFile file;
  if (!file.Open(PlatformPath(file_name))) return 2;
  uint8_t first = 0;
  if (!file.ReadExact(0, &first, 1)) return 3;
  switch (first) {
    case kRawLongForm:
    case kRawShortForm:
      return LoadRawPicture(file, first, image);
    case kBmpFirstByte:
      return LoadBmpPicture(file, image);
    default:
      return 3;
  }
}

}  // namespace layer
