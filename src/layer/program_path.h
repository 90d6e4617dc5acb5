// The path of the program's own executable, as the layer reads it for the window title and
// for ProgramDirectory.
#pragma once

#include <cstddef>
#include <string>

namespace layer {

// The executable's full path cut to at most max_bytes bytes; empty when it cannot be read.
std::string ExecutablePath(size_t max_bytes);

}  // namespace layer
