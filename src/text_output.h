// SPDX-License-Identifier: MIT
// Where the program's own texts (usage, version) go.
#pragma once

namespace command_line {

// Makes stdout and stderr reach the terminal the program was started from, where the system
// does not connect them by itself (a windowed program on Windows started from a console).
void ConnectTextOutput();

}  // namespace command_line
