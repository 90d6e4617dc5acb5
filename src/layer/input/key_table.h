// SPDX-License-Identifier: MIT
// The PC BIOS keyboard table: the codes the IBM PC keyboard services report for each key,
// by scan code, with its Shift, Ctrl and Alt variants.
//
// An entry below 256 is the ASCII character the key yields; an entry of 256 or more is a key
// that yields no character, stored as its BIOS key code times 256 (F1 is 0x3B00). An entry of
// 0 means the combination yields nothing.
#pragma once

#include <array>
#include <cstdint>

namespace layer {

enum KeyColumn : int32_t { kPlainColumn = 0, kShiftColumn, kCtrlColumn, kAltColumn };

using KeyRow = std::array<uint16_t, 4>;  // indexed by KeyColumn

// The last scan code with a row of its own (F12).
inline constexpr int32_t kLastTableScanCode = 88;

// Rows for scan codes 0..kLastTableScanCode.
const std::array<KeyRow, kLastTableScanCode + 1>& BiosKeyTable();

// The row of an enhanced (E0-prefixed) key: keypad Enter and slash and the separate cursor
// block. nullptr for any other scan code.
const KeyRow* EnhancedKeyRow(int32_t scan_code);

}  // namespace layer
