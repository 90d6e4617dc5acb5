// SPDX-License-Identifier: MIT
// Error output of a program without a console.
#pragma once

namespace layer {

// When stderr leads nowhere (started from Explorer), keeps what is written to it and shows it
// in a message box when the process ends. Does nothing where stderr is a console or a file.
void KeepErrorOutputWithoutConsole();

}  // namespace layer
