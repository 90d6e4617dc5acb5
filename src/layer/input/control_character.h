// SPDX-License-Identifier: MIT
// What Ctrl and a key type together, as a PC keyboard types it: the back-ends that build
// characters from keys themselves (SDL, the browser) share this rule.
#pragma once

#include <cstdint>

namespace layer {

// The control character that Ctrl and a key whose own character is `own` type; 0 for none.
// Ctrl+Enter types LF, Ctrl+Backspace DEL, Ctrl+[ and Esc ESC.
uint8_t ControlCharacter(uint8_t own);

}  // namespace layer
