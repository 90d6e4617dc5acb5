// SPDX-License-Identifier: MIT
// The program's window icon, drawn from the game's icon art by the picture generator at build
// time (make_pictures --icon-table); the back-ends whose window system takes an icon as
// pixels hand it over.
#pragma once

#include <cstdint>

namespace layer {

inline constexpr int32_t kWindowIconSize = 64;
// kWindowIconSize rows of kWindowIconSize opaque pixels 0xAARRGGBB, top row first.
extern const uint32_t kWindowIconPixels[kWindowIconSize * kWindowIconSize];

}  // namespace layer
