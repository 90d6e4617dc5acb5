// SPDX-License-Identifier: MIT
// The path of the program's own executable, as the layer reads it for the window title and
// for ProgramDirectory.
#pragma once

#include <string>

namespace layer {

// The executable's whole path, however long; empty when it cannot be read.
std::string ExecutablePath();

}  // namespace layer
