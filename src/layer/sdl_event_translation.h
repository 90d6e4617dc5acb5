// Turning SDL's events into window messages. Only the SDL back-end's files and their tests
// include this header.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "backend.h"
#include "window_message.h"

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

// Hands the messages of each window-thread pass on, so that the game, which looks at the
// buttons between passes, sees every click:
// - a release that follows its press within one pass waits, with what comes after it, for
//   the next pass, which hands all of it on; a run of pointer moves waits as its last one, and
//   no more than kMostHeld messages wait;
// - a button pressed in the same pass as the activation that clears the buttons is pressed
//   again after it (X11 may report the activating click before the focus);
// - a pointer leave goes on only when a leave notice was asked for.
class MessagePacer {
 public:
  // Starts a pass: hands on the messages held over from the last one.
  void BeginPass(const MessageSink& sink);
  // Hands the message on now, or holds it over to the next pass.
  void Deliver(const WindowMessage& message, const MessageSink& sink);
  void RequestLeaveNotice() { leave_notice_requested_ = true; }
  bool HoldsMessages() const { return !held_over_.empty(); }

  static constexpr size_t kMostHeld = 64;

 private:
  // Hands the message on, with the pass's bookkeeping.
  void HandOn(const WindowMessage& message, const MessageSink& sink);

  std::vector<WindowMessage> held_over_;
  int32_t pressed_this_pass_ = 0;
  bool leave_notice_requested_ = false;
};

}  // namespace layer
