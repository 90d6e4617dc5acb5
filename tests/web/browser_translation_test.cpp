// SPDX-License-Identifier: MIT
// The browser back-end's translations: key codes to the PC keyboard and the key buffer, and
// framebuffer rows to canvas bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "browser/browser_translation.h"
#include "input/input_state.h"
#include "support/fake_pointer.h"

namespace {

using layer::BrowserKeyEvent;

// The key string that ReadKey would give for the messages of one key press.
std::string KeyStringOf(const BrowserKeyEvent& event) {
  FakePointer pointer;
  layer::InputState state;
  for (const layer::WindowMessage& message : layer::KeyMessages(event)) {
    layer::HandleMessage(state, message, pointer);
  }
  std::string keys;
  for (int32_t i = state.keys.read_index; i != state.keys.write_index; i = (i + 1) % 16) {
    const int32_t code = state.keys.codes[i];
    if (code <= 255) {
      keys += static_cast<char>(code);
    } else {
      keys += '\xFF';
      keys += static_cast<char>(code >> 8);
    }
  }
  return keys;
}

BrowserKeyEvent Key(std::string_view code, char32_t character, std::string_view name = {}) {
  BrowserKeyEvent event;
  event.code = code;
  event.character = character;
  event.key_name = name.empty() && character < 0x80 ? std::string_view() : name;
  return event;
}

TEST(BrowserKeysTest, CodesSitWhereThePcKeyboardHasThem) {
  const struct {
    std::string_view code;
    int32_t scan_code;
    bool enhanced;
  } cases[] = {{"Escape", 0x01, false}, {"KeyA", 0x1E, false},    {"KeyZ", 0x2C, false},
               {"Digit0", 0x0B, false}, {"F1", 0x3B, false},      {"F12", 0x58, false},
               {"Numpad5", 0x4C, false}, {"NumpadEnter", 0x1C, true}, {"ArrowUp", 0x48, true},
               {"Delete", 0x53, true},  {"IntlBackslash", 0x56, false}, {"Nonsense", 0, false}};
  for (const auto& c : cases) {
    const layer::BrowserPcKey key = layer::PcKeyForCode(c.code);
    EXPECT_EQ(key.scan_code, c.scan_code) << c.code;
    EXPECT_EQ(key.enhanced, c.enhanced) << c.code;
  }
}

TEST(BrowserKeysTest, KeyPressesGiveTheKeyStringsOfTheOtherWindowSystems) {
  EXPECT_EQ(KeyStringOf(Key("KeyA", U'a')), "a");
  BrowserKeyEvent shifted = Key("KeyA", U'A');
  shifted.shift = true;
  EXPECT_EQ(KeyStringOf(shifted), "A");
  EXPECT_EQ(KeyStringOf(Key("ArrowUp", 0, "ArrowUp")), std::string("\xFF\x48", 2));
  EXPECT_EQ(KeyStringOf(Key("F1", 0, "F1")), std::string("\xFF\x3B", 2));
  EXPECT_EQ(KeyStringOf(Key("Enter", 0, "Enter")), "\r");
  EXPECT_EQ(KeyStringOf(Key("Escape", 0, "Escape")), "\x1B");
  // Typed characters in code page 437, '?' where it has no byte.
  EXPECT_EQ(KeyStringOf(Key("Semicolon", U'ö', "ö")), "\x94");
  EXPECT_EQ(KeyStringOf(Key("KeyE", U'€', "€")), "?");
  BrowserKeyEvent ctrl_c = Key("KeyC", U'c');
  ctrl_c.ctrl = true;
  EXPECT_EQ(KeyStringOf(ctrl_c), "\x03");
  // Nothing from modifiers alone, F10, or keys held with Alt.
  EXPECT_EQ(KeyStringOf(Key("ShiftLeft", 0, "Shift")), "");
  EXPECT_EQ(KeyStringOf(Key("F10", 0, "F10")), "");
  BrowserKeyEvent alt_x = Key("KeyX", U'x');
  alt_x.alt = true;
  EXPECT_EQ(KeyStringOf(alt_x), "");
}

TEST(BrowserCanvasTest, RowsBecomeOpaqueRgbaInCanvasOrder) {
  const uint32_t words[2][3] = {{0x00112233u, 0xFF445566u, 0x00000000u},
                                {0x00AA0000u, 0x000000AAu, 0x00FFFFFFu}};
  uint8_t pixels[2][16] = {};  // pitch 16: one padding word a row
  for (int y = 0; y < 2; ++y) std::memcpy(pixels[y], words[y], sizeof words[y]);
  std::vector<uint8_t> rgba;
  layer::RgbaFromFramebuffer(&pixels[0][0], 16, 3, 1, 1, rgba);
  const std::vector<uint8_t> second_row = {0xAA, 0, 0, 255, 0, 0, 0xAA, 255, 0xFF, 0xFF, 0xFF, 255};
  EXPECT_EQ(rgba, second_row);
  layer::RgbaFromFramebuffer(&pixels[0][0], 16, 3, 0, 1, rgba);
  ASSERT_EQ(rgba.size(), 24u);
  const std::vector<uint8_t> first_row = {0x11, 0x22, 0x33, 255, 0x44, 0x55, 0x66, 255, 0, 0, 0, 255};
  EXPECT_EQ(std::vector<uint8_t>(rgba.begin(), rgba.begin() + 12), first_row);
}

}  // namespace
