// SPDX-License-Identifier: MIT
// Compiled with the game's include settings: the build fails when the game could reach one of
// the layer's private headers, and when it could not reach the public one.
#if __has_include("screen/screen.h") ||                                \
                  __has_include("layer/screen/screen.h") ||            \
                                __has_include("backends/backend.h") || \
                                              __has_include("layer/backends/backend.h")
#error "the game can include a private header of the layer; it may include layer/layer.h only"
#endif
#include "layer/layer.h"
