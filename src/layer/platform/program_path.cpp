// SPDX-License-Identifier: MIT
// The executable's directory and file name, the same on every platform: ExecutablePath
// separates with '/' everywhere.
#include "platform/program_path.h"

namespace layer {

ExecutableLocation LocateExecutable() {
  const std::string path = ExecutablePath();
  const size_t last = path.rfind('/');
  if (last == std::string::npos) return {std::string(), path};
  return {path.substr(0, last), path.substr(last + 1)};
}

}  // namespace layer
