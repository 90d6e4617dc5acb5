// SPDX-License-Identifier: MIT
// SDL events through the SDL back-end's translation and the input state machine: what a
// person's keys, clicks and window actions leave in the key buffer and the messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "backends/backend.h"
#include "input/cp437.h"
#include "input/input_state.h"
#include "sdl/sdl_backend.h"
#include "sdl/sdl_event_translation.h"
#include "support/fake_pointer.h"

namespace {

using layer::MessageKind;
using layer::WindowMessage;

constexpr int32_t Extended(int32_t b) {
  return (b << 8) | 0xFF;
}

SDL_Event Key(SDL_Scancode scancode, SDL_Keycode sym, uint16_t mod = KMOD_NONE,
              uint8_t repeat = 0) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.repeat = repeat;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = sym;
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event Text(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
  return event;
}

SDL_Event Window(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = id;
  return event;
}

class SdlTranslation : public ::testing::Test {
 protected:
  // The messages the events turn into, and whether any asked for a whole repaint.
  std::vector<WindowMessage> Translate(std::initializer_list<SDL_Event> events) {
    std::vector<WindowMessage> messages;
    repaint_ = false;
    for (const SDL_Event& event : events) {
      if (translator_.Translate(event, [&](const WindowMessage& m) { messages.push_back(m); })) {
        repaint_ = true;
      }
    }
    return messages;
  }

  // The key codes the events leave in the key buffer, oldest first.
  std::vector<int32_t> Keys(std::initializer_list<SDL_Event> events) {
    layer::InputState state;
    FakePointer pointer;
    for (const WindowMessage& message : Translate(events)) {
      layer::HandleMessage(state, message, pointer);
    }
    std::vector<int32_t> codes;
    for (int32_t i = state.keys.read_index; i != state.keys.write_index;
         i = (i + 1) % layer::KeyBuffer::kSlots) {
      codes.push_back(state.keys.codes[i]);
    }
    return codes;
  }

  layer::SdlEventTranslator translator_;
  bool repaint_ = false;
};

using Codes = std::vector<int32_t>;

TEST_F(SdlTranslation, KeysThatTypeControlCharactersWithoutTextEvents) {
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE)}), Codes{27});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_RETURN, SDLK_RETURN)}), Codes{13});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_NUM)}), Codes{13});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE)}), Codes{8});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_TAB, SDLK_TAB)}), Codes{9});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_A, SDLK_a, KMOD_LCTRL)}), Codes{1});
  // Ctrl+Enter types a line feed, on the main block and on the keypad.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LCTRL)}), Codes{10});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_RCTRL)}), Codes{10});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_Z, SDLK_z, KMOD_RCTRL)}), Codes{26});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL | KMOD_LSHIFT)}), Codes{3});
  // On a German layout the key right of T carries z: Ctrl+Z still types 26.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_Y, SDLK_z, KMOD_LCTRL)}), Codes{26});
}

TEST_F(SdlTranslation, TypedTextBecomesOneCodePage437ByteEach) {
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_A, SDLK_a), Text("a")}), Codes{'a'});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT), Text("A")}), Codes{'A'});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_1, SDLK_1, KMOD_RSHIFT), Text("!")}), Codes{'!'});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_SPACE, SDLK_SPACE), Text(" ")}), Codes{' '});
  // German keys: their own keycodes are Unicode characters beyond ASCII.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_MINUS, 0xDF), Text("ß")}), Codes{0xE1});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_SEMICOLON, 0xF6), Text("ö")}), Codes{0x94});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_APOSTROPHE, 0xE4, KMOD_LSHIFT), Text("Ä")}), Codes{0x8E});
  // An input method may hand over several characters at once.
  EXPECT_EQ(Keys({Text("äüÖÜ")}), (Codes{0x84, 0x81, 0x99, 0x9A}));
  EXPECT_EQ(Keys({Text("€")}), Codes{'?'});
  // Num Lock on: the keypad types digits.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM), Text("7")}), Codes{'7'});
}

TEST_F(SdlTranslation, KeysThatTypeNothingGiveTheirExtendedCodes) {
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F1, SDLK_F1)}), Codes{Extended(59)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F9, SDLK_F9)}), Codes{Extended(67)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F1, SDLK_F1, KMOD_LSHIFT)}), Codes{Extended(84)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F1, SDLK_F1, KMOD_LCTRL)}), Codes{Extended(94)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F11, SDLK_F11)}), Codes{Extended(133)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F12, SDLK_F12)}), Codes{Extended(134)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_UP, SDLK_UP)}), Codes{Extended(72)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_LCTRL)}), Codes{Extended(115)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_RCTRL)}), Codes{Extended(116)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_HOME, SDLK_HOME, KMOD_LCTRL)}), Codes{Extended(119)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN)}), Codes{Extended(81)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_INSERT, SDLK_INSERT)}), Codes{Extended(82)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_DELETE, SDLK_DELETE)}), Codes{Extended(83)});
  // The cursor block and the keypad with Num Lock off reach the same codes.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_END, SDLK_END, KMOD_NUM)}), Codes{Extended(79)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_KP_1, SDLK_KP_1)}), Codes{Extended(79)});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_KP_5, SDLK_KP_5)}), Codes{Extended(76)});
  // Num Lock on and Shift: the keypad key is its cursor key again.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM | KMOD_LSHIFT)}), Codes{Extended(72)});
}

TEST_F(SdlTranslation, KeysThatGiveNoCode) {
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F10, SDLK_F10)}), Codes{});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT)}), Codes{});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_UP, SDLK_UP, KMOD_RALT)}), Codes{});
  // Alt with a letter is a command, even though X11 still sends the letter as text.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_X, SDLK_x, KMOD_LALT), Text("x")}), Codes{});
  // Ctrl with a key that has no control character types nothing.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_1, SDLK_1, KMOD_LCTRL), Text("1")}), Codes{});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_TAB, SDLK_TAB, KMOD_LCTRL)}), Codes{});
  for (const auto& [scancode, sym] : {std::pair{SDL_SCANCODE_LSHIFT, SDLK_LSHIFT},
                                      {SDL_SCANCODE_RCTRL, SDLK_RCTRL},
                                      {SDL_SCANCODE_LALT, SDLK_LALT},
                                      {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK},
                                      {SDL_SCANCODE_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR},
                                      {SDL_SCANCODE_SCROLLLOCK, SDLK_SCROLLLOCK}}) {
    EXPECT_EQ(Keys({Key(scancode, sym)}), Codes{}) << SDL_GetScancodeName(scancode);
  }
}

TEST_F(SdlTranslation, AltGrTypesItsCharacter) {
  // AltGr+Q on a German layout: Ctrl and Alt together, or the right Alt alone.
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_Q, SDLK_q, KMOD_LCTRL | KMOD_RALT), Text("@")}), Codes{'@'});
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_Q, SDLK_q, KMOD_RALT), Text("@")}), Codes{'@'});
}

TEST_F(SdlTranslation, EveryRepeatIsAKeyOfItsOwn) {
  EXPECT_EQ(Keys({Key(SDL_SCANCODE_F2, SDLK_F2), Key(SDL_SCANCODE_F2, SDLK_F2, KMOD_NONE, 1),
                  Key(SDL_SCANCODE_F2, SDLK_F2, KMOD_NONE, 1)}),
            (Codes{Extended(60), Extended(60), Extended(60)}));
}

TEST_F(SdlTranslation, KeyDownCarriesThePcKey) {
  const auto home = Translate({Key(SDL_SCANCODE_HOME, SDLK_HOME)});
  ASSERT_EQ(home.size(), 1u);
  EXPECT_EQ(home[0].key.scan_code, 71);
  EXPECT_TRUE(home[0].key.enhanced);
  const auto pad_home = Translate({Key(SDL_SCANCODE_KP_7, SDLK_KP_7)});
  ASSERT_EQ(pad_home.size(), 1u);
  EXPECT_EQ(pad_home[0].key.scan_code, 71);
  EXPECT_FALSE(pad_home[0].key.enhanced);
  const auto alt_f4 = Translate({Key(SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT)});
  ASSERT_EQ(alt_f4.size(), 1u);
  EXPECT_EQ(alt_f4[0].kind, MessageKind::kSystemKeyDown);
  EXPECT_EQ(alt_f4[0].key.scan_code, 62);
  EXPECT_TRUE(alt_f4[0].key.alt);
}

TEST_F(SdlTranslation, MouseMessages) {
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.x = 650;
  motion.motion.y = 0;
  auto messages = Translate({motion});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, MessageKind::kMouseMove);
  EXPECT_EQ(messages[0].x, 650);
  EXPECT_EQ(messages[0].y, 0);
  // A captured pointer left of the window: the position wraps as an unsigned 16-bit value.
  motion.motion.x = -1;
  EXPECT_EQ(Translate({motion}).at(0).x, 65535);

  const std::vector<std::pair<uint8_t, int32_t>> buttons = {{SDL_BUTTON_LEFT, 1},
                                                            {SDL_BUTTON_RIGHT, 2},
                                                            {SDL_BUTTON_MIDDLE, 4},
                                                            {SDL_BUTTON_X1, 8},
                                                            {SDL_BUTTON_X2, 16}};
  for (const auto& [sdl_button, bit] : buttons) {
    SDL_Event down{};
    down.type = SDL_MOUSEBUTTONDOWN;
    down.button.button = sdl_button;
    SDL_Event up = down;
    up.type = SDL_MOUSEBUTTONUP;
    messages = Translate({down, up});
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, MessageKind::kButtonDown);
    EXPECT_EQ(messages[0].button, bit);
    EXPECT_EQ(messages[1].kind, MessageKind::kButtonUp);
    EXPECT_EQ(messages[1].button, bit);
  }
}

TEST_F(SdlTranslation, WheelTurnsCountOneWhateverTheirSize) {
  auto turn = [](int32_t y, uint32_t direction = SDL_MOUSEWHEEL_NORMAL) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = y;
    event.wheel.preciseY = static_cast<float>(y);
    event.wheel.direction = direction;
    return event;
  };
  const auto messages = Translate({turn(3), turn(-1), turn(2, SDL_MOUSEWHEEL_FLIPPED), turn(0)});
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].wheel_turn, 1);
  EXPECT_EQ(messages[1].wheel_turn, -1);
  EXPECT_EQ(messages[2].wheel_turn, -1);
}

TEST_F(SdlTranslation, ActivationFollowsFocusAndMinimizing) {
  auto messages = Translate({Window(SDL_WINDOWEVENT_FOCUS_LOST)});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, MessageKind::kActivate);
  EXPECT_FALSE(messages[0].activated);

  messages = Translate({Window(SDL_WINDOWEVENT_MINIMIZED)});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].minimized);
  EXPECT_FALSE(repaint_);

  messages = Translate({Window(SDL_WINDOWEVENT_RESTORED), Window(SDL_WINDOWEVENT_FOCUS_GAINED)});
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_FALSE(messages[0].minimized);
  EXPECT_TRUE(messages[1].activated);
  EXPECT_FALSE(messages[1].minimized);
  EXPECT_TRUE(repaint_) << "a restored window is repainted whole";
}

TEST_F(SdlTranslation, UncoveringRepaintsWithoutInput) {
  EXPECT_TRUE(Translate({Window(SDL_WINDOWEVENT_EXPOSED)}).empty());
  EXPECT_TRUE(repaint_);
  Translate({Window(SDL_WINDOWEVENT_MOVED), Window(SDL_WINDOWEVENT_ENTER)});
  EXPECT_FALSE(repaint_);
}

TEST_F(SdlTranslation, CloseRequestsBecomeTheCloseKey) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(Keys({Window(SDL_WINDOWEVENT_CLOSE)}), Codes{layer::kCloseKey});
  EXPECT_EQ(Keys({quit}), Codes{layer::kCloseKey});
  const auto leave = Translate({Window(SDL_WINDOWEVENT_LEAVE)});
  ASSERT_EQ(leave.size(), 1u);
  EXPECT_EQ(leave[0].kind, MessageKind::kMouseLeave);
}

WindowMessage Input(MessageKind kind, int32_t button = 0, bool activated = false) {
  WindowMessage message;
  message.kind = kind;
  message.pointer_inside = true;
  message.button = button;
  message.activated = activated;
  return message;
}
WindowMessage Press(int32_t button) {
  return Input(MessageKind::kButtonDown, button);
}
WindowMessage Release(int32_t button) {
  return Input(MessageKind::kButtonUp, button);
}
WindowMessage Activation(bool activated) {
  return Input(MessageKind::kActivate, 0, activated);
}
WindowMessage Leave() {
  return Input(MessageKind::kMouseLeave);
}

// The messages of window-thread passes through the pacer into the input state.
class SdlPacing : public ::testing::Test {
 protected:
  // One pass with these new messages; returns how many messages reached the input state.
  size_t Pass(std::initializer_list<WindowMessage> messages) {
    size_t handed = 0;
    const layer::MessageSink sink = [&](const WindowMessage& message) {
      layer::HandleMessage(state_, message, pointer_);
      ++handed;
    };
    pacer_.BeginPass(sink);
    for (const WindowMessage& message : messages) pacer_.Deliver(message, sink);
    return handed;
  }

  layer::MessagePacer pacer_;
  layer::InputState state_;
  FakePointer pointer_;
};

TEST_F(SdlPacing, AClickWithinOnePassIsHeldForOnePass) {
  WindowMessage move = Input(MessageKind::kMouseMove);
  move.x = 7;
  Pass({Press(1), Release(1), move});
  EXPECT_EQ(state_.mouse.buttons, 1);
  EXPECT_EQ(state_.mouse.x, 0) << "what follows the release waits with it";
  EXPECT_TRUE(pacer_.HoldsMessages());  // so the window thread comes back for them
  Pass({});
  EXPECT_EQ(state_.mouse.buttons, 0);
  EXPECT_EQ(state_.mouse.x, 7);
  EXPECT_FALSE(pointer_.captured);
  EXPECT_FALSE(pacer_.HoldsMessages());
}

TEST_F(SdlPacing, AReleaseInALaterPassGoesOnAtOnce) {
  Pass({Press(2)});
  EXPECT_EQ(Pass({Release(2), Press(1)}), 2u);
  EXPECT_EQ(state_.mouse.buttons, 1);
}

TEST_F(SdlPacing, TheClickThatActivatesTheWindowCounts) {
  Pass({Activation(false)});
  ASSERT_FALSE(state_.mouse.active);
  // X11 may report the press before the focus.
  Pass({Press(1), Activation(true)});
  EXPECT_TRUE(state_.mouse.active);
  EXPECT_EQ(state_.mouse.buttons, 1);
  // In the usual order nothing is added.
  Pass({Release(1), Activation(false)});
  EXPECT_EQ(Pass({Activation(true), Press(4)}), 2u);
  EXPECT_EQ(state_.mouse.buttons, 4);
  // Losing the focus still clears the buttons.
  Pass({Press(1), Activation(false)});
  EXPECT_EQ(state_.mouse.buttons, 0);
}

TEST_F(SdlPacing, APointerLeaveGoesOnOnlyWhenAskedFor) {
  EXPECT_EQ(Pass({Leave()}), 0u);
  pacer_.RequestLeaveNotice();
  EXPECT_EQ(Pass({Leave(), Leave()}), 1u);
}

TEST(Cp437, ConvertsLatinLettersAndSymbols) {
  EXPECT_EQ(layer::Cp437FromUnicode(U'A'), 'A');
  EXPECT_EQ(layer::Cp437FromUnicode(U'ß'), 0xE1);
  EXPECT_EQ(layer::Cp437FromUnicode(U'é'), 0x82);
  EXPECT_EQ(layer::Cp437FromUnicode(U'£'), 0x9C);
  EXPECT_EQ(layer::Cp437FromUnicode(U'°'), 0xF8);
  EXPECT_EQ(layer::Cp437FromUnicode(0x00A0), 0xFF);
  EXPECT_EQ(layer::Cp437FromUnicode(U'█'), 0xDB);
  EXPECT_EQ(layer::Cp437FromUnicode(U'À'), '?');
  EXPECT_EQ(layer::Cp437FromUnicode(0x1F384), '?');
}

TEST(Cp437, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(layer::Cp437FromUtf8("x\x80y"), "x?y");
  EXPECT_EQ(layer::Cp437FromUtf8("\xC3"), "?");                // cut short
  EXPECT_EQ(layer::Cp437FromUtf8("\xC0\x80"), "??");           // overlong NUL
  EXPECT_EQ(layer::Cp437FromUtf8("\xED\xA0\x80"), "???");      // a surrogate
  EXPECT_EQ(layer::Cp437FromUtf8("\xF0\x9F\x8E\x84!"), "?!");  // one character, one byte
  EXPECT_EQ(layer::Cp437FromUtf8("\xC3\xBC\xC3"), "\x81?");
}

}  // namespace

namespace {

// Sets or clears an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value == nullptr) {
      unsetenv(name);
    } else {
      setenv(name, value, 1);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

std::vector<std::string> DefaultBackendNames() {
  std::vector<std::string> names;
  for (const auto& backend : layer::MakeDefaultBackends()) names.push_back(backend->Name());
  return names;
}

TEST(SdlBackends, TriedInOrderX11WaylandThenSdlsOwnChoice) {
  ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
  EXPECT_EQ(DefaultBackendNames(), (std::vector<std::string>{"sdl2-x11", "sdl2-wayland", "sdl2"}));
}

TEST(SdlBackends, OnlyTheDriverNamedInSdlVideoDriverIsTried) {
  {
    ScopedEnv driver("SDL_VIDEODRIVER", "Wayland");
    EXPECT_EQ(DefaultBackendNames(), (std::vector<std::string>{"sdl2-wayland"}));
  }
  ScopedEnv driver("SDL_VIDEODRIVER", "");
  EXPECT_EQ(DefaultBackendNames().size(), 3u);
}

TEST(SdlBackends, WaylandIsNotAskedWithoutARuntimeDirectory) {
  ScopedEnv display("WAYLAND_DISPLAY", nullptr);
  ScopedEnv socket("WAYLAND_SOCKET", nullptr);
  ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
  auto wayland = layer::MakeSdlBackend("wayland");
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(wayland->Open(layer::WindowRequest{"test", 651, 651}));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
