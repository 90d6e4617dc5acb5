// SPDX-License-Identifier: MIT
// The browser back-end's pure parts: KeyboardEvent.code to the PC keyboard, a key press to
// window messages, and framebuffer rows to the canvas's RGBA bytes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "input/window_message.h"

namespace layer {

// A key's place on the PC keyboard: set-1 scan code (0: none) and the enhanced flag.
struct BrowserPcKey {
  int32_t scan_code = 0;
  bool enhanced = false;
};
BrowserPcKey PcKeyForCode(std::string_view code);

// One keydown event: KeyboardEvent.code, the Unicode character of KeyboardEvent.key when it
// is one character (0 otherwise), the named key of KeyboardEvent.key ("Enter", ...), and the
// modifiers held.
struct BrowserKeyEvent {
  std::string_view code;
  char32_t character = 0;
  std::string_view key_name;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The messages a key press sends, in order: its key-down (a system key-down with Alt
// without Ctrl, and for F10), then the character it types, in code page 437 ('?' where the
// code page has none). Modifier and lock keys, and keys with no PC place, send nothing.
std::vector<WindowMessage> KeyMessages(const BrowserKeyEvent& event);

// Converts framebuffer rows first..last (0x00RRGGBB words, `pitch` bytes apart) into RGBA
// bytes with alpha 255, `width` pixels a row, as a canvas's ImageData holds them.
void RgbaFromFramebuffer(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t first,
                         int32_t last, std::vector<uint8_t>& rgba);

}  // namespace layer
