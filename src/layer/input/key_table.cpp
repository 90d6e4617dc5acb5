// SPDX-License-Identifier: MIT
#include "input/key_table.h"

#include <algorithm>

namespace layer {
namespace {

// Columns: plain, Shift, Ctrl, Alt.
constexpr std::array<KeyRow, kLastTableScanCode + 1> kBiosKeys = {{
    {0, 0, 0, 0},                      // 0  (no key)
    {0x1B, 0x1B, 0x1B, 0x0100},        // 1  Esc
    {'1', '!', 0, 0x7800},             // 2  1
    {'2', '@', 0x0300, 0x7900},        // 3  2 (Ctrl+2 is NUL)
    {'3', '#', 0, 0x7A00},             // 4  3
    {'4', '$', 0, 0x7B00},             // 5  4
    {'5', '%', 0, 0x7C00},             // 6  5
    {'6', '^', 0x1E, 0x7D00},          // 7  6
    {'7', '&', 0, 0x7E00},             // 8  7
    {'8', '*', 0, 0x7F00},             // 9  8
    {'9', '(', 0, 0x8000},             // 10 9
    {'0', ')', 0, 0x8100},             // 11 0
    {'-', '_', 0x1F, 0x8200},          // 12 -
    {'=', '+', 0, 0x8300},             // 13 =
    {0x08, 0x08, 0x7F, 0x0E00},        // 14 Backspace
    {0x09, 0x0F00, 0x9400, 0xA500},    // 15 Tab
    {'q', 'Q', 0x11, 0x1000},          // 16 Q
    {'w', 'W', 0x17, 0x1100},          // 17 W
    {'e', 'E', 0x05, 0x1200},          // 18 E
    {'r', 'R', 0x12, 0x1300},          // 19 R
    {'t', 'T', 0x14, 0x1400},          // 20 T
    {'y', 'Y', 0x19, 0x1500},          // 21 Y
    {'u', 'U', 0x15, 0x1600},          // 22 U
    {'i', 'I', 0x09, 0x1700},          // 23 I
    {'o', 'O', 0x0F, 0x1800},          // 24 O
    {'p', 'P', 0x10, 0x1900},          // 25 P
    {'[', '{', 0x1B, 0x1A00},          // 26 [
    {']', '}', 0x1D, 0x1B00},          // 27 ]
    {0x0D, 0x0D, 0x0A, 0x1C00},        // 28 Enter
    {0, 0, 0, 0},                      // 29 Ctrl
    {'a', 'A', 0x01, 0x1E00},          // 30 A
    {'s', 'S', 0x13, 0x1F00},          // 31 S
    {'d', 'D', 0x04, 0x2000},          // 32 D
    {'f', 'F', 0x06, 0x2100},          // 33 F
    {'g', 'G', 0x07, 0x2200},          // 34 G
    {'h', 'H', 0x08, 0x2300},          // 35 H
    {'j', 'J', 0x0A, 0x2400},          // 36 J
    {'k', 'K', 0x0B, 0x2500},          // 37 K
    {'l', 'L', 0x0C, 0x2600},          // 38 L
    {';', ':', 0, 0x2700},             // 39 ;
    {'\'', '"', 0, 0x2800},            // 40 '
    {'`', '~', 0, 0x2900},             // 41 `
    {0, 0, 0, 0},                      // 42 left Shift
    {'\\', '|', 0x1C, 0x2B00},         // 43 backslash
    {'z', 'Z', 0x1A, 0x2C00},          // 44 Z
    {'x', 'X', 0x18, 0x2D00},          // 45 X
    {'c', 'C', 0x03, 0x2E00},          // 46 C
    {'v', 'V', 0x16, 0x2F00},          // 47 V
    {'b', 'B', 0x02, 0x3000},          // 48 B
    {'n', 'N', 0x0E, 0x3100},          // 49 N
    {'m', 'M', 0x0D, 0x3200},          // 50 M
    {',', '<', 0, 0x3300},             // 51 ,
    {'.', '>', 0, 0x3400},             // 52 .
    {'/', '?', 0, 0x3500},             // 53 /
    {0, 0, 0, 0},                      // 54 right Shift
    {'*', '*', 0x9600, 0x3700},        // 55 keypad *
    {0, 0, 0, 0},                      // 56 Alt
    {' ', ' ', ' ', ' '},              // 57 Space
    {0, 0, 0, 0},                      // 58 Caps Lock
    {0x3B00, 0x5400, 0x5E00, 0x6800},  // 59 F1
    {0x3C00, 0x5500, 0x5F00, 0x6900},  // 60 F2
    {0x3D00, 0x5600, 0x6000, 0x6A00},  // 61 F3
    {0x3E00, 0x5700, 0x6100, 0x6B00},  // 62 F4
    {0x3F00, 0x5800, 0x6200, 0x6C00},  // 63 F5
    {0x4000, 0x5900, 0x6300, 0x6D00},  // 64 F6
    {0x4100, 0x5A00, 0x6400, 0x6E00},  // 65 F7
    {0x4200, 0x5B00, 0x6500, 0x6F00},  // 66 F8
    {0x4300, 0x5C00, 0x6600, 0x7000},  // 67 F9
    {0x4400, 0x5D00, 0x6700, 0x7100},  // 68 F10
    {0, 0, 0, 0},                      // 69 Num Lock
    {0, 0, 0, 0},                      // 70 Scroll Lock
    {0x4700, '7', 0x7700, 0},          // 71 keypad 7 / Home
    {0x4800, '8', 0x8D00, 0},          // 72 keypad 8 / Up
    {0x4900, '9', 0x8400, 0},          // 73 keypad 9 / Page Up
    {'-', '-', 0x8E00, 0x4A00},        // 74 keypad -
    {0x4B00, '4', 0x7300, 0},          // 75 keypad 4 / Left
    {0x4C00, '5', 0x8F00, 0},          // 76 keypad 5
    {0x4D00, '6', 0x7400, 0},          // 77 keypad 6 / Right
    {'+', '+', 0x9000, 0x4E00},        // 78 keypad +
    {0x4F00, '1', 0x7500, 0},          // 79 keypad 1 / End
    {0x5000, '2', 0x9100, 0},          // 80 keypad 2 / Down
    {0x5100, '3', 0x7600, 0},          // 81 keypad 3 / Page Down
    {0x5200, '0', 0x9200, 0},          // 82 keypad 0 / Insert
    {0x5300, '.', 0x9300, 0},          // 83 keypad . / Delete
    {0, 0, 0, 0},                      // 84 SysRq
    {0, 0, 0, 0},                      // 85 (no key)
    {0, 0, 0, 0},                      // 86 the extra key of 102-key keyboards
    {0x8500, 0x8700, 0x8900, 0x8B00},  // 87 F11
    {0x8600, 0x8800, 0x8A00, 0x8C00},  // 88 F12
}};

struct EnhancedKey {
  int32_t scan_code;
  KeyRow row;
};

// The cursor block keys report the same codes as their keypad twins without Num Lock, but
// Shift does not turn them into digits and Alt gives codes of their own.
constexpr std::array<EnhancedKey, 12> kEnhancedKeys = {{
    {28, {0x0D, 0x0D, 0x0A, 0xA600}},        // keypad Enter
    {53, {'/', '/', 0x9500, 0xA400}},        // keypad /
    {71, {0x4700, 0x4700, 0x7700, 0x9700}},  // Home
    {72, {0x4800, 0x4800, 0x8D00, 0x9800}},  // Up
    {73, {0x4900, 0x4900, 0x8400, 0x9900}},  // Page Up
    {75, {0x4B00, 0x4B00, 0x7300, 0x9B00}},  // Left
    {77, {0x4D00, 0x4D00, 0x7400, 0x9D00}},  // Right
    {79, {0x4F00, 0x4F00, 0x7500, 0x9F00}},  // End
    {80, {0x5000, 0x5000, 0x9100, 0xA000}},  // Down
    {81, {0x5100, 0x5100, 0x7600, 0xA100}},  // Page Down
    {82, {0x5200, 0x5200, 0x9200, 0xA200}},  // Insert
    {83, {0x5300, 0x5300, 0x9300, 0xA300}},  // Delete
}};

}  // namespace

const std::array<KeyRow, kLastTableScanCode + 1>& BiosKeyTable() {
  return kBiosKeys;
}

const KeyRow* EnhancedKeyRow(int32_t scan_code) {
  const auto* found =
      std::find_if(kEnhancedKeys.begin(), kEnhancedKeys.end(),
                   [&](const EnhancedKey& key) { return key.scan_code == scan_code; });
  return found == kEnhancedKeys.end() ? nullptr : &found->row;
}

}  // namespace layer
