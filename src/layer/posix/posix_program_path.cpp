// SPDX-License-Identifier: MIT
// The program's own executable, from the kernel's link to it.
#include <filesystem>
#include <system_error>

#include "platform/program_path.h"

namespace layer {

std::string ExecutablePath() {
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  return error ? std::string() : path;
}

}  // namespace layer
