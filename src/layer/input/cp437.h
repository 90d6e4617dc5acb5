// SPDX-License-Identifier: MIT
// Conversion of typed text to code page 437, the character set of the key buffer and the font.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace layer {

// The code page 437 byte for a Unicode code point; '?' when the code page has no such
// character. Code points below 0x80 are the same byte.
uint8_t Cp437FromUnicode(char32_t code_point);

// Converts UTF-8 text to code page 437, one byte per character. A malformed sequence
// becomes one '?' per offending byte.
std::string Cp437FromUtf8(std::string_view utf8);

}  // namespace layer
