// SPDX-License-Identifier: MIT
// The window made with the Win32 API.
#pragma once

#include <memory>

#include "backends/backend.h"

namespace layer {

std::unique_ptr<Backend> MakeWin32Backend();

}  // namespace layer
