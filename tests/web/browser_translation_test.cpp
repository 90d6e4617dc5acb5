// SPDX-License-Identifier: MIT
// The browser back-end's translations: the page's events to window messages, key codes to the
// PC keyboard and the key buffer, and framebuffer rows to canvas bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

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

// A page event with the numbers given by name.
layer::PageEvent Page(std::string_view type,
                      std::initializer_list<std::pair<layer::PageNumber, double>> numbers = {},
                      std::string_view key = {}) {
  layer::PageEvent event;
  event.type = type;
  event.key = key;
  event.code = key.empty() ? "" : "KeyA";
  for (const auto& [number, value] : numbers) event.numbers[number] = value;
  return event;
}

// A pointer event at (x, y) in client pixels over a 651-pixel canvas shown at half its size
// from (8, 20).
layer::PageEvent Pointer(std::string_view type, double x, double y, double button = 0,
                         double delta_y = 0) {
  using namespace layer;
  return Page(type, {{kClientX, x}, {kClientY, y}, {kLeft, 8}, {kTop, 20}, {kWidth, 325.5},
                     {kHeight, 325.5}, {kButton, button}, {kDeltaY, delta_y}});
}

TEST(BrowserPageTest, PointerPositionsAreCanvasPixelsUnderThePointer) {
  const struct {
    layer::PageEvent event;
    int32_t x, y;
    bool inside;
  } cases[] = {
      {Pointer("pointermove", 8 + 100.25, 20 + 0.4), 200, 0, true},     // CSS scaling divided out
      {Pointer("pointermove", 8 + 325.4, 20 + 325.4), 650, 650, true},  // the last pixel
      {Pointer("pointermove", 8 + 325.5, 20), 651, 0, false},           // just right of it
      {Pointer("pointermove", 7.9, 19.9), 0xFFFF, 0xFFFF, false},       // left of and above
      {Page("pointermove", {{layer::kClientX, 30}}), 0, 0, false},      // no rectangle
  };
  for (const auto& c : cases) {
    const layer::CanvasPoint point = layer::CanvasPosition(c.event, 651, 651);
    EXPECT_EQ(point.x, c.x) << c.event.numbers[layer::kClientX];
    EXPECT_EQ(point.y, c.y) << c.event.numbers[layer::kClientX];
    EXPECT_EQ(point.inside, c.inside) << c.event.numbers[layer::kClientX];
  }
}

TEST(BrowserPageTest, EventsBecomeMessagesInTheOrderThePageSawThem) {
  using namespace layer;
  PageEventTranslator page(651, 651);
  std::vector<std::string> seen;
  const MessageSink sink = [&](const WindowMessage& m) {
    const char* names[] = {"move", "down", "up", "wheel", "activate", "leave", "char", "key",
                           "syskey", "close"};
    std::string text = names[static_cast<int>(m.kind)];
    if (m.kind == MessageKind::kMouseMove) text += " " + std::to_string(m.x);
    if (m.kind == MessageKind::kButtonDown || m.kind == MessageKind::kButtonUp) {
      text += " " + std::to_string(m.button);
    }
    if (m.kind == MessageKind::kWheel) text += " " + std::to_string(m.wheel_turn);
    if (m.kind == MessageKind::kActivate) text += m.activated ? " on" : " off";
    if (m.kind == MessageKind::kCharacter) text += " " + std::to_string(m.character);
    seen.push_back(text + (page.PointerInside() ? " in" : ""));
  };
  const struct {
    PageEvent event;
    std::vector<std::string> messages;
    PageAction action;
  } script[] = {
      {Page("focus", {{kVisible, 1}}), {"activate off"}, PageAction::kNone},
      {Page("blur", {{kVisible, 1}}), {}, PageAction::kNone},  // no change
      {Pointer("pointerdown", 58, 70, 2), {"activate on", "move 100 in", "down 2 in"},
       PageAction::kNone},
      {Pointer("wheel", 58, 70, 0, 0), {}, PageAction::kNone},  // a sideways scroll
      {Pointer("wheel", 58, 70, 0, -3), {"wheel 1 in"}, PageAction::kNone},
      {Pointer("pointercancel", 400, 70, 0), {"move 784", "up 1"}, PageAction::kNone},
      {Pointer("pointerleave", 58, 70), {"leave"}, PageAction::kNone},
      {Page("keydown", {}, "\xC3\xA4"), {"key", "char 132"}, PageAction::kNone},  // ä
      {Page("visibilitychange", {{kFocused, 1}, {kVisible, 1}}), {}, PageAction::kRepaint},
      {Page("resize"), {}, PageAction::kFitToViewport},
      {Page("click"), {}, PageAction::kNone},
  };
  for (const auto& step : script) {
    seen.clear();
    EXPECT_EQ(page.Translate(step.event, sink), step.action) << step.event.type;
    EXPECT_EQ(seen, step.messages) << step.event.type;
  }
}

}  // namespace
