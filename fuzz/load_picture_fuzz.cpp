// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a picture file, loaded into a fresh buffer and drawn.
//
// The file lives in an in-memory file reached by its /proc path, so LoadPicture takes the
// same road as for a file on disk. A raw picture can leave any header in the buffer; drawing
// it afterwards checks that PutImage never reads outside the block either.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "layer/layer.h"
#include "testing/test_seams.h"

namespace {

struct Session {
  int fd = -1;
  std::string path;

  Session() {
    layer::testing::UseHeadlessBackend();
    if (layer::OpenScreen(651, 651, 32, 0, 0, 0) != 0) std::abort();
    fd = ::memfd_create("picture", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    path = "/proc/self/fd/" + std::to_string(fd);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session session;
  if (::ftruncate(session.fd, 0) != 0) std::abort();
  for (size_t done = 0; done < size;) {
    const ssize_t wrote = ::pwrite(session.fd, data + done, size - done, static_cast<off_t>(done));
    if (wrote <= 0) std::abort();
    done += static_cast<size_t>(wrote);
  }

  // An odd size, so rows end in padding and the picture and the buffer rarely match.
  layer::ImageBuffer* image = layer::CreateImage(37, 29, 0, 0, layer::kDefaultFill);
  if (!image) std::abort();
  const int32_t status = layer::LoadPicture(session.path, image);
  if (status != 0 && status != 3) std::abort();  // the file exists and a buffer is given
  layer::PutImage(-3.0f, 620.0f, image);
  layer::PutImage(5.0f, 7.0f, image);
  layer::ReleaseImage(image);
  return 0;
}
