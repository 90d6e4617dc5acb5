// SPDX-License-Identifier: MIT
#include "backends/backend.h"
#include "backends/sdl_backend.h"

namespace layer {

BackendList MakeDefaultBackends() {
  BackendList backends;
  backends.push_back(MakeSdlBackend("x11"));
  backends.push_back(MakeSdlBackend("wayland"));
  backends.push_back(MakeSdlBackend(""));
  return backends;
}

}  // namespace layer
