// SPDX-License-Identifier: MIT
// The browser back-end's pure parts: the page's events to window messages (KeyboardEvent.code
// to the PC keyboard, a pointer's place on the canvas), and framebuffer rows to the canvas's
// RGBA bytes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
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

// ---- The page's events ----
// The numbers the page records of each event it hands over, by the property names of its
// record: the event's own (MouseEvent, WheelEvent, KeyboardEvent), the canvas's bounding
// rectangle at the event (left, top, width, height; CSS pixels) and the document's focus and
// visibility. An event without a property gives 0 (true gives 1). The page receives the names
// (space-separated, in the order of PageNumber) and writes the numbers in that order.
enum PageNumber : int32_t {
  kClientX, kClientY, kLeft, kTop, kWidth, kHeight, kButton, kDeltaY, kShiftKey, kCtrlKey,
  kAltKey, kFocused, kVisible, kPageNumberCount
};
inline constexpr char kPageNumberNames[] =
    "clientX clientY left top width height button deltaY shiftKey ctrlKey altKey focused visible";
static_assert(std::count(std::begin(kPageNumberNames), std::end(kPageNumberNames), ' ') + 1 ==
              kPageNumberCount);

// One event as the page hands it over: the DOM event's type ("pointerdown", "keydown",
// "focus", ...), its numbers, and KeyboardEvent.code and .key.
struct PageEvent {
  std::string_view type;
  std::array<double, kPageNumberCount> numbers{};
  std::string_view code;
  std::string_view key;
};

// A pointer's place on a canvas of width x height pixels, from the client position and the
// canvas's rectangle (CSS scaling divided out, towards minus infinity): x and y in the
// unsigned 16-bit form of window messages (a captured pointer left of or above the canvas
// wraps), and whether the pixel is on the canvas.
struct CanvasPoint {
  int32_t x = 0;
  int32_t y = 0;
  bool inside = false;
};
CanvasPoint CanvasPosition(const PageEvent& event, int32_t width, int32_t height);

// What an event asks of the back-end besides its window messages.
enum class PageAction { kNone, kRepaint, kFitToViewport };

// Turns the page's events into window messages for a canvas of width x height pixels:
// pointer moves, presses (the press that activates the page counts), releases (also a
// cancelled pointer), wheel turns and leaves; key presses (KeyMessages); an activation when
// the page's focus or visibility changes. A page shown again is repainted; a resized one has
// its board fitted anew.
class PageEventTranslator {
 public:
  PageEventTranslator(int32_t width, int32_t height) : width_(width), height_(height) {}
  PageAction Translate(const PageEvent& event, const MessageSink& sink);
  // Whether the pointer was on the canvas at the last pointer event before the message being
  // handed to the sink.
  bool PointerInside() const { return inside_; }

 private:
  void NoteActivity(int32_t active, const MessageSink& sink);
  void SendPointer(MessageKind kind, const PageEvent& event, const MessageSink& sink,
                   int32_t button = 0, int32_t wheel_turn = 0);

  int32_t width_;
  int32_t height_;
  bool inside_ = false;
  int32_t active_ = -1;  // the activity last handed over: 1 focused and visible, -1 none yet
};

// Converts framebuffer rows first..last (0x00RRGGBB words, `pitch` bytes apart) into RGBA
// bytes with alpha 255, `width` pixels a row, as a canvas's ImageData holds them.
void RgbaFromFramebuffer(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t first,
                         int32_t last, std::vector<uint8_t>& rgba);

}  // namespace layer
