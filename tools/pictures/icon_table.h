// SPDX-License-Identifier: MIT
// The window icon as a C++ data table for the layer's SDL back-end, which hands it to the
// window system (src/layer/backends/window_icon.h declares it).
#pragma once

#include <string>

#include "pictures/canvas.h"

namespace pictures {

// The size of the window icon; window_icon.h says the same, and the table checks it.
inline constexpr int kWindowIconSize = 64;

// The source of a C++ file defining layer::kWindowIconPixels: the canvas's pixels as opaque
// 0xAARRGGBB words, top row first.
std::string WindowIconSource(const Canvas& c);

}  // namespace pictures
