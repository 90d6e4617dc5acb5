// SPDX-License-Identifier: MIT
// The directory that holds the program's executable.
#include "layer.h"
#include "platform/program_path.h"

namespace layer {

std::string ProgramDirectory() {
  const std::string path = ExecutablePath();
  const size_t last = path.rfind('/');
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace layer
