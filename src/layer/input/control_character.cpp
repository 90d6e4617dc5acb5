// SPDX-License-Identifier: MIT
#include "input/control_character.h"

namespace layer {

uint8_t ControlCharacter(uint8_t own) {
  if (own >= 'a' && own <= 'z') return static_cast<uint8_t>(own - 'a' + 1);
  switch (own) {
    case '\r':
      return '\n';
    case '\b':
      return 0x7F;
    case 0x1B:
    case '[':
      return 0x1B;
    case '\\':
      return 0x1C;
    case ']':
      return 0x1D;
    default:
      return 0;
  }
}

}  // namespace layer
