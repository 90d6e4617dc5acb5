// The directory of the program's own executable, from the kernel's link to it.
#include <filesystem>
#include <system_error>

#include "layer.h"

namespace layer {

std::string ProgramDirectory() {
  // The path is kept to 259 characters, like every path the layer handles.
  constexpr size_t kMaxPathBytes = 259;
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (error) return {};
  path.resize(std::min(path.size(), kMaxPathBytes));
  const size_t last = path.rfind('/');
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace layer
