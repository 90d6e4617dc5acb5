// SPDX-License-Identifier: MIT
#include "backends/backend.h"
#include "win32/win32_backend.h"

namespace layer {

BackendList MakeDefaultBackends() {
  BackendList backends;
  backends.push_back(MakeWin32Backend());
  return backends;
}

}  // namespace layer
