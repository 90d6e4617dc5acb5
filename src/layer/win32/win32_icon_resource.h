// SPDX-License-Identifier: MIT
// The number of the program's icon group among the executable's resources: the program's
// resource script (win32_resources.rc.in) stores the game's icon under it and the Win32
// back-end gives it to the window. Also read by the resource compiler: definitions only.
#pragma once

#define XMAS_ICON_RESOURCE 1
