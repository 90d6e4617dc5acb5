// SPDX-License-Identifier: MIT
// Picture files in the page, which has no file system: the page's script fetches them and
// holds their bytes by their paths in /app, where ProgramDirectory points (Module.xmasFiles,
// web/page_files.js). The game opens them there through LoadPicture as it opens the files
// beside its program elsewhere. A file that is still arriving is waited for; one whose fetch
// failed cannot be opened, as a missing file cannot elsewhere (the page says why).
#include <emscripten.h>

#include <cerrno>

#include "picture/image_file.h"

namespace layer {
namespace {

// The page's number for the file at `path`, or -1 when it has none or its fetch failed. A file
// still arriving is waited for: the thread goes to the browser (Asyncify) until it has
// arrived or failed. The program may end on its way back (exit), which is no error of the
// page's.
EM_JS(int, xmas_open_page_file, (const char* path), {
  return Asyncify.handleSleep(function(wakeUp) {
    var files = Module['xmasFiles'] || [];
    var name = UTF8ToString(path);
    var number = files.findIndex(function(file) { return file.path === name; });
    var file = files[number];
    function answer() {
      try {
        wakeUp(file && file.bytes ? number : -1);
      } catch (e) {
        if (!(e instanceof ExitStatus) && e !== 'unwind') throw e;
      }
    }
    if (file && !file.bytes && !file.failed) {
      file.waiting.push(answer);
    } else {
      answer();
    }
  });
});

EM_JS(double, xmas_page_file_size, (int number), {
  return Module['xmasFiles'][number].bytes.length;
});

// Copies up to `n` bytes from `offset` of the page's file `number` to `to`; the count copied.
EM_JS(double, xmas_read_page_file, (int number, double offset, uint8_t* to, double n), {
  var bytes = Module['xmasFiles'][number].bytes;
  var part = bytes.subarray(Math.min(offset, bytes.length), Math.min(offset + n, bytes.length));
  HEAPU8.set(part, to);
  return part.length;
});

}  // namespace

// The page keeps the bytes: the game may show a picture again.
PictureFile::~PictureFile() = default;

bool PictureFile::Open(const std::string& path) {
  const int number = xmas_open_page_file(path.c_str());
  if (number < 0) {
    errno = ENOENT;
    return false;
  }
  fd_ = number;
  size_ = static_cast<uint64_t>(xmas_page_file_size(number));
  regular_ = true;
  head_size_ = ReadFromFile(0, head_.data(), head_.size());
  return true;
}

size_t PictureFile::ReadFromFile(uint64_t offset, uint8_t* bytes, size_t n) {
  return static_cast<size_t>(xmas_read_page_file(static_cast<int>(fd_),
                                                 static_cast<double>(offset), bytes,
                                                 static_cast<double>(n)));
}

}  // namespace layer
