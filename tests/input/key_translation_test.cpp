// SPDX-License-Identifier: MIT
// Key translation: PC BIOS key codes for keys that yield no character.
#include <gtest/gtest.h>

#include "input/input_state.h"

namespace {

using layer::KeyPress;
using layer::TranslateKeyDown;

struct Mods {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

KeyPress Key(int32_t scan_code, bool enhanced = false, Mods mods = {}, uint8_t typed = 0,
             uint8_t own = 0) {
  KeyPress key;
  key.scan_code = scan_code;
  key.enhanced = enhanced;
  key.typed = typed;
  key.own = own;
  key.shift = mods.shift;
  key.ctrl = mods.ctrl;
  key.alt = mods.alt;
  return key;
}

// The second byte b of the key string for an extended key code, or -1 when it is not one.
int32_t SecondByte(int32_t code) {
  if ((code & 0xFF) != 0xFF || code < 256) return -1;
  return code >> 8;
}

TEST(KeyTranslation, FunctionKeysGiveTheirBiosCodes) {
  for (int32_t f = 1; f <= 9; ++f) {
    const int32_t scan_code = 58 + f;
    EXPECT_EQ(SecondByte(TranslateKeyDown(Key(scan_code))), 58 + f) << "F" << f;
  }
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(87))), 133);  // F11
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(88))), 134);  // F12
}

TEST(KeyTranslation, CursorKeysGiveTheirBiosCodesFromEitherBlock) {
  struct Case {
    const char* name;
    int32_t scan_code;
    int32_t b;
  };
  const Case cases[] = {{"Home", 71, 71},  {"Up", 72, 72},        {"Page Up", 73, 73},
                        {"Left", 75, 75},  {"Right", 77, 77},     {"End", 79, 79},
                        {"Down", 80, 80},  {"Page Down", 81, 81}, {"Insert", 82, 82},
                        {"Delete", 83, 83}};
  for (const Case& c : cases) {
    EXPECT_EQ(SecondByte(TranslateKeyDown(Key(c.scan_code, true))), c.b) << c.name;
    // The keypad twin with Num Lock off.
    EXPECT_EQ(SecondByte(TranslateKeyDown(Key(c.scan_code, false))), c.b) << "keypad " << c.name;
  }
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(76))), 76);  // keypad 5 without Num Lock
}

TEST(KeyTranslation, ModifierColumnsChooseAltThenCtrlThenShift) {
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(59, false, {.shift = true}))), 84);  // Shift+F1
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(59, false, {.ctrl = true}))), 94);   // Ctrl+F1
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(59, false, {.shift = true, .ctrl = true}))), 94);
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(59, false, {true, true, true}))), 104);  // Alt+F1
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(75, true, {.ctrl = true}))), 115);       // Ctrl+Left
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(77, true, {.ctrl = true}))), 116);       // Ctrl+Right
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(71, true, {.ctrl = true}))), 119);       // Ctrl+Home
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(72, true, {.shift = true}))), 72);       // Shift+Up
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(15, false, {.shift = true}, '\t', '\t'))), 15);
  EXPECT_EQ(TranslateKeyDown(Key(62, false, {.alt = true})), layer::kCloseKey);  // Alt+F4
}

TEST(KeyTranslation, KeysThatTypeCharactersGiveNoCode) {
  EXPECT_EQ(TranslateKeyDown(Key(30, false, {}, 'a', 'A')), 0);
  EXPECT_EQ(TranslateKeyDown(Key(30, false, {.shift = true}, 'A', 'A')), 0);
  EXPECT_EQ(TranslateKeyDown(Key(30, false, {.ctrl = true}, 0x01, 'A')), 0);
  EXPECT_EQ(TranslateKeyDown(Key(72, false, {}, '8', '8')), 0);   // keypad 8, Num Lock on
  EXPECT_EQ(TranslateKeyDown(Key(28, true, {}, '\r', '\r')), 0);  // keypad Enter
  EXPECT_EQ(TranslateKeyDown(Key(57, false, {}, ' ', ' ')), 0);   // Space
  EXPECT_EQ(TranslateKeyDown(Key(1, false, {}, 0x1B, 0x1B)), 0);  // Esc
}

TEST(KeyTranslation, ExtendedEntryNeedsTheKeysOwnCharacter) {
  // Alt+Q types q, its own character in the other case: the Alt column counts.
  EXPECT_EQ(SecondByte(TranslateKeyDown(Key(16, false, {.alt = true}, 'q', 'Q'))), 0x10);
  // AltGr+Q typing @ on a German layout: the character message carries it instead.
  EXPECT_EQ(TranslateKeyDown(Key(16, false, {.ctrl = true, .alt = true}, '@', 'Q')), 0);
  // A function key that somehow types a character is not a function key press.
  EXPECT_EQ(TranslateKeyDown(Key(59, false, {.shift = true}, 'x', 0)), 0);
}

TEST(KeyTranslation, ModifiersLocksAndKeysWithoutARowGiveNothing) {
  for (int32_t scan_code : {29, 42, 54, 56, 58, 69, 70}) {
    EXPECT_EQ(TranslateKeyDown(Key(scan_code)), 0) << scan_code;
  }
  EXPECT_EQ(TranslateKeyDown(Key(29, true)), 0);  // right Ctrl
  EXPECT_EQ(TranslateKeyDown(Key(56, true)), 0);  // right Alt
  EXPECT_EQ(TranslateKeyDown(Key(55, true)), 0);  // Print Screen
  EXPECT_EQ(TranslateKeyDown(Key(91, true)), 0);  // Windows key
  EXPECT_EQ(TranslateKeyDown(Key(100)), 0);       // beyond the table
  EXPECT_EQ(TranslateKeyDown(Key(-5)), 0);
}

}  // namespace
