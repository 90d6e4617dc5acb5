// SPDX-License-Identifier: MIT
// Win32 messages (as fake wParam / lParam values) through the Win32 back-end's translation and
// the input state machine: what key, character, mouse and window messages leave behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "input/input_state.h"
#include "screen/message_router.h"
#include "support/fake_pointer.h"
#include "win32/win32_message_translation.h"

namespace {

namespace wm = layer::win32_message;
using layer::MessageKind;
using layer::Win32KeyState;
using Codes = std::vector<int32_t>;

constexpr int32_t Extended(int32_t b) { return (b << 8) | 0xFF; }

struct Msg {
  uint32_t message;
  uint64_t wparam = 0;
  int64_t lparam = 0;
  Win32KeyState keys{};
};

// The key data of a key message: repeat count in bits 0-15, scan code in 16-23, enhanced
// flag in 24.
int64_t KeyData(int32_t scan_code, bool enhanced = false, int32_t repeat = 1) {
  return repeat | (int64_t{scan_code} << 16) | (int64_t{enhanced ? 1 : 0} << 24);
}

Msg KeyDown(int32_t scan_code, bool enhanced = false, Win32KeyState keys = {}, int32_t repeat = 1) {
  return {wm::kKeyDown, 0, KeyData(scan_code, enhanced, repeat), keys};
}

Msg Char(uint32_t unit, int32_t repeat = 1) { return {wm::kChar, unit, repeat}; }

// The input state after the messages, handled as the window thread handles them (in a
// window of the given scale).
layer::InputState Handle(std::initializer_list<Msg> messages, int32_t scale = 1) {
  layer::InputState state;
  FakePointer pointer;
  for (const Msg& m : messages) {
    auto translated = layer::TranslateWin32Message(m.message, m.wparam, m.lparam, m.keys);
    if (!translated) continue;
    layer::HandleMessage(state, layer::BoardMessage(*translated, true, scale), pointer);
  }
  return state;
}

Codes Keys(std::initializer_list<Msg> messages) {
  const layer::InputState state = Handle(messages);
  Codes codes;
  for (int32_t i = state.keys.read_index; i != state.keys.write_index;
       i = (i + 1) % layer::KeyBuffer::kSlots) {
    codes.push_back(state.keys.codes[i]);
  }
  return codes;
}

TEST(Win32Translation, KeyDownsTakeScanCodeEnhancedFlagAndRepeatFromTheKeyData) {
  EXPECT_EQ(Keys({KeyDown(0x3B)}), Codes{Extended(59)});                      // F1
  EXPECT_EQ(Keys({KeyDown(0x58)}), Codes{Extended(134)});                     // F12
  EXPECT_EQ(Keys({KeyDown(0x3B, false, {}, 3)}), Codes(3, Extended(59)));     // held F1
  EXPECT_EQ(Keys({KeyDown(0x3B, false, {}, 0)}), Codes{});                    // no repeat
  // Shift+Home on the cursor block (enhanced) has a code; Shift+keypad 7 types nothing.
  const Win32KeyState shift{0, 0, true, false, false};
  EXPECT_EQ(Keys({KeyDown(71, true, shift)}), Codes{Extended(71)});
  EXPECT_EQ(Keys({KeyDown(71, false, shift)}), Codes{});
  // Ctrl+Left, enhanced; bit 23 of the key data is not the enhanced flag.
  const Win32KeyState ctrl{0, 0, false, true, false};
  EXPECT_EQ(Keys({KeyDown(75, true, ctrl)}), Codes{Extended(115)});
  EXPECT_EQ(Keys({{wm::kKeyDown, 0, KeyData(75, false) | (int64_t{1} << 23), {0, 0, true}}}),
            Codes{});
  // A key that types its own character adds nothing itself: its character message does.
  EXPECT_EQ(Keys({KeyDown(0x1E, false, {'a', 'A'}), Char('a')}), Codes{'a'});
  // Ctrl+A types 1 (a character message); Alt+F1 comes as a system key and adds nothing.
  EXPECT_EQ(Keys({KeyDown(0x1E, false, {1, 'A', false, true}), Char(1)}), Codes{1});
  const Win32KeyState alt{0, 0, false, false, true};
  EXPECT_EQ(Keys({{wm::kSysKeyDown, 0, KeyData(0x3B), alt}}), Codes{});
  EXPECT_EQ(Keys({{wm::kSysKeyDown, 0, KeyData(0x2D), alt}, {wm::kSysChar, 'x', 1}}), Codes{});
  EXPECT_EQ(Keys({{wm::kClose}}), Codes{layer::kCloseKey});
}

TEST(Win32Translation, CharactersBecomeCodePage437WithTheirRepeatCount) {
  EXPECT_EQ(Keys({Char('x', 3)}), Codes(3, 'x'));
  EXPECT_EQ(Keys({Char('x', 0)}), Codes{});
  EXPECT_EQ(Keys({Char(0x00E4), Char(0x00DF), Char(0x00D6)}), (Codes{0x84, 0xE1, 0x99}));
  EXPECT_EQ(Keys({Char(0x20AC)}), Codes{'?'});  // the euro sign has no byte
  EXPECT_EQ(Keys({Char(0xD83C), Char(0xDF84)}), Codes{'?'});  // one character in two halves
}

TEST(Win32Translation, MouseMessagesSetPositionButtonsAndWheel) {
  // Positions are the low and high words of lParam, divided by the window's scale.
  layer::InputState state = Handle({{wm::kActivate, 1}, {wm::kMouseMove, 0, (200 << 16) | 100}});
  EXPECT_EQ(state.mouse.x, 100);
  EXPECT_EQ(state.mouse.y, 200);
  state = Handle({{wm::kActivate, 1}, {wm::kMouseMove, 0, (601 << 16) | 1301}}, 2);
  EXPECT_EQ(state.mouse.x, 650);
  EXPECT_EQ(state.mouse.y, 300);

  state = Handle({{wm::kActivate, 1}, {wm::kLButtonDblClk}, {wm::kRButtonDown},
                  {wm::kXButtonDown, 2u << 16}, {wm::kRButtonUp}});
  EXPECT_EQ(state.mouse.buttons, 1 | 16);
  state = Handle({{wm::kActivate, 1}, {wm::kXButtonDown, 1u << 16}, {wm::kMButtonDown},
                  {wm::kXButtonUp, 1u << 16}});
  EXPECT_EQ(state.mouse.buttons, 4);

  const uint64_t back = uint64_t{static_cast<uint16_t>(-240)} << 16;
  state = Handle({{wm::kMouseWheel, 120u << 16}, {wm::kMouseWheel, 40u << 16},
                  {wm::kMouseWheel, back}, {wm::kMouseWheel, back}, {wm::kMouseWheel, back}});
  EXPECT_EQ(state.mouse.wheel, -1);  // +1 +1 -1 -1 -1: one count per message
}

TEST(Win32Translation, ActivationComesFromBothWordsOfWParam) {
  EXPECT_TRUE(Handle({{wm::kActivate, 1}}).mouse.active);         // WA_ACTIVE
  EXPECT_TRUE(Handle({{wm::kActivate, 2}}).mouse.active);         // WA_CLICKACTIVE
  EXPECT_FALSE(Handle({{wm::kActivate, 1 | (1u << 16)}}).mouse.active);  // while minimised
  EXPECT_FALSE(Handle({{wm::kActivate, 1}, {wm::kActivate, 0}}).mouse.active);
  EXPECT_EQ(Handle({{wm::kActivate, 1}, {wm::kLButtonDown}, {wm::kActivate, 0}}).mouse.buttons, 0);
}

}  // namespace
