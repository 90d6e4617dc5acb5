// SPDX-License-Identifier: MIT
#include "sdl/sdl_event_translation.h"

#include <string_view>

#include "input/control_character.h"
#include "input/cp437.h"

namespace layer {
namespace {

bool IsModifierOrLock(SDL_Scancode scancode) {
  switch (scancode) {
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
    case SDL_SCANCODE_LGUI:
    case SDL_SCANCODE_RGUI:
    case SDL_SCANCODE_MODE:
    case SDL_SCANCODE_CAPSLOCK:
    case SDL_SCANCODE_NUMLOCKCLEAR:
    case SDL_SCANCODE_SCROLLLOCK:
      return true;
    default:
      return false;
  }
}

// The keypad's digit keys and its decimal point, which type only while Num Lock is on.
int KeypadDigit(SDL_Scancode scancode) {
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
    return '1' + (scancode - SDL_SCANCODE_KP_1);
  }
  if (scancode == SDL_SCANCODE_KP_0) return '0';
  if (scancode == SDL_SCANCODE_KP_PERIOD) return '.';
  return 0;
}

// Keys of the keypad that type the same character whatever the lock state.
uint8_t KeypadOperator(SDL_Scancode scancode) {
  switch (scancode) {
    case SDL_SCANCODE_KP_DIVIDE:
      return '/';
    case SDL_SCANCODE_KP_MULTIPLY:
      return '*';
    case SDL_SCANCODE_KP_MINUS:
      return '-';
    case SDL_SCANCODE_KP_PLUS:
      return '+';
    case SDL_SCANCODE_KP_ENTER:
      return '\r';
    default:
      return 0;
  }
}

// With Num Lock on, Shift turns a keypad digit back into its cursor key (and the key goes
// down as if Shift were up).
bool KeypadTypesDigit(const SDL_Keysym& keysym) {
  return (keysym.mod & KMOD_NUM) != 0 && (keysym.mod & KMOD_SHIFT) == 0;
}

uint8_t OwnCharacter(const SDL_Keysym& keysym) {
  if (const int digit = KeypadDigit(keysym.scancode); digit != 0) {
    return KeypadTypesDigit(keysym) ? static_cast<uint8_t>(digit) : 0;
  }
  if (const uint8_t op = KeypadOperator(keysym.scancode); op != 0) return op;
  const SDL_Keycode sym = keysym.sym;
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_ESCAPE:
    case SDLK_BACKSPACE:
    case SDLK_TAB:
      return static_cast<uint8_t>(sym);
    default:
      break;
  }
  if (sym >= 0x20 && sym <= 0x7E) return static_cast<uint8_t>(sym);
  // Layouts beyond ASCII give the key's Unicode character (a German keyboard's ß, ö, ä, ü).
  if ((sym & SDLK_SCANCODE_MASK) == 0 && sym >= 0xA0) {
    const uint8_t byte = Cp437FromUnicode(static_cast<char32_t>(sym));
    return byte == '?' ? 0 : byte;
  }
  return 0;
}

bool IsControlCharacter(uint8_t c) {
  return c != 0 && (c < 0x20 || c == 0x7F);
}

int32_t ButtonBit(uint8_t sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 4;
    case SDL_BUTTON_X1:
      return 8;
    case SDL_BUTTON_X2:
      return 16;
    default:
      return 0;
  }
}

WindowMessage Message(MessageKind kind) {
  WindowMessage message;
  message.kind = kind;
  return message;
}

}  // namespace

KeyCharacters CharactersFor(const SDL_Keysym& keysym) {
  KeyCharacters chars;
  chars.own = OwnCharacter(keysym);
  const bool shift = (keysym.mod & KMOD_SHIFT) != 0;
  const bool ctrl = (keysym.mod & KMOD_CTRL) != 0;
  const bool alt = (keysym.mod & KMOD_ALT) != 0;
  if (ctrl && alt) {
    // AltGr: whatever it types arrives as text.
    chars.typed = 0;
  } else if (ctrl) {
    chars.typed = ControlCharacter(chars.own);
  } else if (IsControlCharacter(chars.own) || KeypadOperator(keysym.scancode) != 0) {
    chars.typed = chars.own;
  } else if (chars.own >= 'a' && chars.own <= 'z') {
    const bool upper = shift != ((keysym.mod & KMOD_CAPS) != 0);
    chars.typed = upper ? static_cast<uint8_t>(chars.own - 'a' + 'A') : chars.own;
  } else {
    // Shift makes another key type something that depends on the layout; that character
    // comes as text, and 0 here keeps the key-down from standing in for it.
    chars.typed = shift ? 0 : chars.own;
  }
  return chars;
}

bool SdlEventTranslator::Translate(const SDL_Event& event, const MessageSink& sink) {
  switch (event.type) {
    case SDL_MOUSEMOTION: {
      WindowMessage message = Message(MessageKind::kMouseMove);
      // Positions travel as unsigned 16-bit values, as a captured pointer left of or above
      // the window reports them.
      message.x = event.motion.x & 0xFFFF;
      message.y = event.motion.y & 0xFFFF;
      sink(message);
      return false;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int32_t bit = ButtonBit(event.button.button);
      if (bit == 0) return false;
      WindowMessage message = Message(event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::kButtonDown
                                                                        : MessageKind::kButtonUp);
      message.button = bit;
      message.x = event.button.x & 0xFFFF;
      message.y = event.button.y & 0xFFFF;
      sink(message);
      return false;
    }
    case SDL_MOUSEWHEEL: {
      float turn =
          event.wheel.preciseY != 0.0f ? event.wheel.preciseY : static_cast<float>(event.wheel.y);
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) turn = -turn;
      if (turn == 0.0f) return false;  // a sideways turn
      WindowMessage message = Message(MessageKind::kWheel);
      message.wheel_turn = turn > 0.0f ? 1 : -1;
      sink(message);
      return false;
    }
    case SDL_KEYDOWN:
      KeyDown(event.key, sink);
      return false;
    case SDL_TEXTINPUT:
      Text(event.text.text, sink);
      return false;
    case SDL_WINDOWEVENT:
      return WindowEvent(event.window, sink);
    case SDL_QUIT:
      sink(Message(MessageKind::kClose));
      return false;
    default:
      return false;
  }
}

void SdlEventTranslator::KeyDown(const SDL_KeyboardEvent& key, const MessageSink& sink) {
  const SDL_Keysym& keysym = key.keysym;
  const bool ctrl = (keysym.mod & KMOD_CTRL) != 0;
  const bool alt = (keysym.mod & KMOD_ALT) != 0;
  // Ctrl alone or the left Alt alone turn a key into a command, not text. The right Alt
  // alone may be AltGr, which types.
  drop_text_ = (ctrl && !alt) || ((keysym.mod & KMOD_LALT) != 0 && !ctrl);
  if (IsModifierOrLock(keysym.scancode)) return;
  const PcKey pc = PcKeyFor(keysym.scancode);
  if (pc.scan_code == 0) return;

  const KeyCharacters chars = CharactersFor(keysym);
  const bool system_key = (alt && !ctrl) || keysym.scancode == SDL_SCANCODE_F10;
  WindowMessage message = Message(system_key ? MessageKind::kSystemKeyDown : MessageKind::kKeyDown);
  message.key.scan_code = pc.scan_code;
  message.key.enhanced = pc.enhanced;
  message.key.typed = chars.typed;
  message.key.own = chars.own;
  // A keypad digit that Shift turned into a cursor key goes down without Shift.
  const bool shifted_keypad = KeypadDigit(keysym.scancode) != 0 && (keysym.mod & KMOD_NUM) != 0;
  message.key.shift = (keysym.mod & KMOD_SHIFT) != 0 && !shifted_keypad;
  message.key.ctrl = ctrl;
  message.key.alt = alt;
  sink(message);

  // Control characters come with no text event; they follow their key as a character.
  if (!system_key && IsControlCharacter(chars.typed)) {
    WindowMessage character = Message(MessageKind::kCharacter);
    character.character = chars.typed;
    sink(character);
  }
}

void SdlEventTranslator::Text(const char* utf8, const MessageSink& sink) const {
  if (drop_text_) return;
  for (const char byte : Cp437FromUtf8(std::string_view(utf8))) {
    WindowMessage message = Message(MessageKind::kCharacter);
    message.character = static_cast<uint8_t>(byte);
    sink(message);
  }
}

bool SdlEventTranslator::WindowEvent(const SDL_WindowEvent& window, const MessageSink& sink) {
  switch (window.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      focused_ = true;
      SendActivation(sink);
      return false;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      focused_ = false;
      SendActivation(sink);
      return false;
    case SDL_WINDOWEVENT_MINIMIZED:
      minimized_ = true;
      SendActivation(sink);
      return false;
    case SDL_WINDOWEVENT_RESTORED:
      minimized_ = false;
      SendActivation(sink);
      return true;
    case SDL_WINDOWEVENT_LEAVE:
      sink(Message(MessageKind::kMouseLeave));
      return false;
    case SDL_WINDOWEVENT_CLOSE:
      sink(Message(MessageKind::kClose));
      return false;
    default:
      return false;
  }
}

void SdlEventTranslator::SendActivation(const MessageSink& sink) const {
  WindowMessage message = Message(MessageKind::kActivate);
  message.activated = focused_;
  message.minimized = minimized_;
  sink(message);
}

}  // namespace layer
