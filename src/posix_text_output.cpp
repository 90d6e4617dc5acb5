// SPDX-License-Identifier: MIT
// On POSIX systems stdout and stderr are the terminal's already.
#include "text_output.h"

namespace command_line {

void ConnectTextOutput() {}

}  // namespace command_line
