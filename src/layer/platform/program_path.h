// SPDX-License-Identifier: MIT
// The path of the program's own executable, as the layer reads it for the window title, for
// ProgramDirectory and for the picture loader's failure lines.
#pragma once

#include <string>

namespace layer {

// The executable's whole path, however long; empty when it cannot be read.
std::string ExecutablePath();

// The executable's path cut at its last '/': the directory before it (empty when the path has
// no '/') and the file name after it.
struct ExecutableLocation {
  std::string directory;
  std::string file_name;
};
ExecutableLocation LocateExecutable();

}  // namespace layer
