// SPDX-License-Identifier: MIT
// The window made with SDL2.
#pragma once

#include <memory>
#include <string>

#include "backends/backend.h"

namespace layer {

// A back-end that opens its window through one of SDL's video drivers: "x11", "wayland", or
// SDL's own choice when video_driver is empty. SDL does not fall back to another driver when
// the chosen one fails, so each driver to try is a back-end of its own.
std::unique_ptr<Backend> MakeSdlBackend(std::string video_driver);

}  // namespace layer
