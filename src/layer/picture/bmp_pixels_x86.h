// SPDX-License-Identifier: MIT
// Wide-register forms of the busiest row conversions, used when the processor has them.
#pragma once

#include <cstdint>

namespace layer::bmp::x86 {

// Whether the forms below are to be used: the processor runs them and they are allowed.
bool HasByteShuffle();  // SSSE3

// Allowed by default. Tests turn them off to run the plain conversions on a processor that
// has the wide ones; the choice is made when a row converter is built.
void AllowWideForms(bool allow);

// 24-bit pixels with the standard masks: 0xFF000000 | value.
void Expand24(const uint8_t* from, uint8_t* to, int32_t count);

}  // namespace layer::bmp::x86
