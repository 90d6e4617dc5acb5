// SPDX-License-Identifier: MIT
// LoadPicture: opens the file and hands it to the reader its first byte names.
#include "picture/image_load.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "picture/packed_pixels.h"
#include "platform/program_path.h"

namespace layer {
namespace {

// Both separators are taken as the platform's. Names are used whole, however long.
std::string PlatformPath(std::string_view file_name) {
  std::string path(file_name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::atomic<bool> report_failures{false};

void Report(const std::string& path, const std::string& reason) {
  if (!report_failures) return;
  const std::string name = LocateExecutable().file_name;
  // Written whole with fputs: the browser's module then carries no printf.
  const std::string line = (name.empty() ? "picture" : name) + ": cannot load the picture " + path +
                           ": " + reason + "\n";
  std::fputs(line.c_str(), stderr);
}

}  // namespace

void ReportPictureFailures(bool report) {
  report_failures = report;
}

int32_t LoadPicture(std::string_view file_name, ImageBuffer* image) {
  if (!image) return kPictureBadCall;
  PictureFile file;
  const std::string path = PlatformPath(file_name);
  if (!file.Open(path)) {
    Report(path, errno == ENOENT ? "missing" : std::strerror(errno));
    return kPictureCannotOpen;
  }
  uint8_t first = 0;
  if (!file.ReadExact(0, &first, 1)) {
    Report(path, file.HadError() ? "not a regular file or cannot be read" : "empty file");
    return kPictureBadFile;
  }
  int32_t status = kPictureBadFile;
  switch (first) {
    case kRawLongForm:
    case kRawShortForm:
      status = LoadRawPicture(file, first, image);
      break;
    case kBmpFirstByte:
      status = LoadBmpPicture(file, image);
      break;
    case packed::kFirstByte:
      status = LoadPackedPicture(file, image);
      break;
    default:
      Report(path, "not a picture (neither BMP, packed nor raw image)");
      return kPictureBadFile;
  }
  if (status == kPictureBadFile) Report(path, "damaged or unsupported picture");
  return status;
}

}  // namespace layer
