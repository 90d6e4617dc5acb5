// SPDX-License-Identifier: MIT
// The window in a web page: a canvas element with the id "screen".
#pragma once

#include <memory>

#include "backends/backend.h"

namespace layer {

std::unique_ptr<Backend> MakeBrowserBackend();

// Shows the page's "Neues Spiel" button, which reloads the page, or hides it: the way on for
// a person without a keyboard while the program waits for a key without limit.
void ShowNewGameOffer(bool shown);

}  // namespace layer
