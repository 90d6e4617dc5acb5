// SPDX-License-Identifier: MIT
// Key translation on key down: a key that yields no character gets its PC BIOS key code.
#include "input/input_state.h"
#include "input/key_table.h"

namespace layer {
namespace {

KeyColumn ChooseColumn(const KeyPress& key) {
  if (key.alt) return kAltColumn;
  if (key.ctrl) return kCtrlColumn;
  if (key.shift) return kShiftColumn;
  return kPlainColumn;
}

uint8_t FoldCase(uint8_t c) {
  return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 32) : c;
}

// The BIOS code or the typed character for one key press; 0 for nothing.
int32_t BiosCode(const KeyPress& key) {
  const KeyColumn column = ChooseColumn(key);
  if (key.enhanced && key.typed == 0) {
    const KeyRow* row = EnhancedKeyRow(key.scan_code);
    return row == nullptr ? 0 : (*row)[column];
  }
  if (key.scan_code < 0 || key.scan_code > kLastTableScanCode) return key.typed;
  if (column == kPlainColumn && key.typed != 0) return key.typed;
  const int32_t entry = BiosKeyTable()[key.scan_code][column];
  // The table's code only stands when the modifiers did not make the key type something
  // other than its own character (as AltGr combinations do).
  if (entry >= 256 && FoldCase(key.typed) == FoldCase(key.own)) return entry;
  return key.typed;
}

}  // namespace

int32_t TranslateKeyDown(const KeyPress& key) {
  const int32_t code = BiosCode(key);
  // Characters arrive as character messages of their own.
  if (code < 256) return 0;
  return (code & 0xFF00) | 0xFF;
}

}  // namespace layer
