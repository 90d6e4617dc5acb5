// SPDX-License-Identifier: MIT
// Turning SDL's events into window messages. Only the SDL back-end's files and their tests
// include this header.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "backends/backend.h"
#include "input/message_pacer.h"
#include "input/window_message.h"

namespace layer {

// A key's code on the PC keyboard: its set-1 scan code and whether it is one of the enhanced
// (E0-prefixed) keys.
struct PcKey {
  int32_t scan_code = 0;  // 0: the key has no PC counterpart
  bool enhanced = false;
};

// The PC key that sits where the SDL scancode's key sits.
PcKey PcKeyFor(SDL_Scancode scancode);

// What a key types: its own unmodified character and the character it types with the
// modifiers held, both code page 437, 0 for none.
struct KeyCharacters {
  uint8_t own = 0;
  uint8_t typed = 0;
};
KeyCharacters CharactersFor(const SDL_Keysym& keysym);

// Translates SDL events one at a time. It keeps the little state the messages need across
// events: focus, minimized, and whether the text of the last key is to be dropped.
class SdlEventTranslator {
 public:
  // Hands the messages for one event to sink (none, one or several); true when the window
  // must be repainted whole. pointer_inside is left false for the caller to fill.
  bool Translate(const SDL_Event& event, const MessageSink& sink);

 private:
  void KeyDown(const SDL_KeyboardEvent& key, const MessageSink& sink);
  void Text(const char* utf8, const MessageSink& sink) const;
  bool WindowEvent(const SDL_WindowEvent& window, const MessageSink& sink);
  void SendActivation(const MessageSink& sink) const;

  bool focused_ = true;
  bool minimized_ = false;
  // The last key went down with Ctrl or (left) Alt held alone: its text is not typed.
  bool drop_text_ = false;
};

}  // namespace layer
