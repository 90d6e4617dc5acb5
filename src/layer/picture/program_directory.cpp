// SPDX-License-Identifier: MIT
// The directory that holds the program's executable.
#include "layer.h"
#include "platform/program_path.h"

namespace layer {

std::string ProgramDirectory() {
  return LocateExecutable().directory;
}

}  // namespace layer
