// SPDX-License-Identifier: MIT
// The window in a web page: a canvas element with the id "screen".
#pragma once

#include <memory>

#include "backends/backend.h"

namespace layer {

std::unique_ptr<Backend> MakeBrowserBackend();

}  // namespace layer
