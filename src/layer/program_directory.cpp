// The program's own executable, from the kernel's link to it, and its directory.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "layer.h"
#include "program_path.h"

namespace layer {

std::string ExecutablePath(size_t max_bytes) {
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error) return {};
  path.resize(std::min(path.size(), max_bytes));
  return path;
}

std::string ProgramDirectory() {
  // The path is kept to 259 characters, like every path the layer handles.
  constexpr size_t kMaxPathBytes = 259;
  const std::string path = ExecutablePath(kMaxPathBytes);
  const size_t last = path.rfind('/');
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace layer
