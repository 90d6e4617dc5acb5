// SPDX-License-Identifier: MIT
#include <cctype>
#include <cstdlib>
#include <string>

#include "backends/backend.h"
#include "sdl/sdl_backend.h"

namespace layer {

// SDL_VIDEODRIVER, when set, names the only driver (or comma-separated list) to use: that is
// how a person chooses Wayland or X11. Otherwise X11, Wayland, then SDL's other drivers.
BackendList MakeDefaultBackends() {
  BackendList backends;
  if (const char* named = std::getenv("SDL_VIDEODRIVER"); named != nullptr && *named != '\0') {
    std::string driver(named);
    for (char& c : driver) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    backends.push_back(MakeSdlBackend(driver));
    return backends;
  }
  backends.push_back(MakeSdlBackend("x11"));
  backends.push_back(MakeSdlBackend("wayland"));
  backends.push_back(MakeSdlBackend(""));
  return backends;
}

}  // namespace layer
