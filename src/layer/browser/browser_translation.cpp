// SPDX-License-Identifier: MIT
#include "browser/browser_translation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "input/control_character.h"
#include "input/cp437.h"

namespace layer {
namespace {

struct CodeEntry {
  std::string_view code;
  uint8_t scan_code;
  bool enhanced;
};

// Where each KeyboardEvent.code sits on the PC keyboard (the same places as the other
// back-ends give their keys).
constexpr CodeEntry kCodes[] = {
    {"Escape", 0x01, false},        {"Digit1", 0x02, false},        {"Digit2", 0x03, false},
    {"Digit3", 0x04, false},        {"Digit4", 0x05, false},        {"Digit5", 0x06, false},
    {"Digit6", 0x07, false},        {"Digit7", 0x08, false},        {"Digit8", 0x09, false},
    {"Digit9", 0x0A, false},        {"Digit0", 0x0B, false},        {"Minus", 0x0C, false},
    {"Equal", 0x0D, false},         {"Backspace", 0x0E, false},     {"Tab", 0x0F, false},
    {"KeyQ", 0x10, false},          {"KeyW", 0x11, false},          {"KeyE", 0x12, false},
    {"KeyR", 0x13, false},          {"KeyT", 0x14, false},          {"KeyY", 0x15, false},
    {"KeyU", 0x16, false},          {"KeyI", 0x17, false},          {"KeyO", 0x18, false},
    {"KeyP", 0x19, false},          {"BracketLeft", 0x1A, false},   {"BracketRight", 0x1B, false},
    {"Enter", 0x1C, false},         {"ControlLeft", 0x1D, false},   {"KeyA", 0x1E, false},
    {"KeyS", 0x1F, false},          {"KeyD", 0x20, false},          {"KeyF", 0x21, false},
    {"KeyG", 0x22, false},          {"KeyH", 0x23, false},          {"KeyJ", 0x24, false},
    {"KeyK", 0x25, false},          {"KeyL", 0x26, false},          {"Semicolon", 0x27, false},
    {"Quote", 0x28, false},         {"Backquote", 0x29, false},     {"ShiftLeft", 0x2A, false},
    {"Backslash", 0x2B, false},     {"KeyZ", 0x2C, false},          {"KeyX", 0x2D, false},
    {"KeyC", 0x2E, false},          {"KeyV", 0x2F, false},          {"KeyB", 0x30, false},
    {"KeyN", 0x31, false},          {"KeyM", 0x32, false},          {"Comma", 0x33, false},
    {"Period", 0x34, false},        {"Slash", 0x35, false},         {"ShiftRight", 0x36, false},
    {"NumpadMultiply", 0x37, false}, {"AltLeft", 0x38, false},      {"Space", 0x39, false},
    {"CapsLock", 0x3A, false},      {"F1", 0x3B, false},            {"F2", 0x3C, false},
    {"F3", 0x3D, false},            {"F4", 0x3E, false},            {"F5", 0x3F, false},
    {"F6", 0x40, false},            {"F7", 0x41, false},            {"F8", 0x42, false},
    {"F9", 0x43, false},            {"F10", 0x44, false},           {"Pause", 0x45, false},
    {"NumLock", 0x45, true},        {"ScrollLock", 0x46, false},    {"Numpad7", 0x47, false},
    {"Numpad8", 0x48, false},       {"Numpad9", 0x49, false},       {"NumpadSubtract", 0x4A, false},
    {"Numpad4", 0x4B, false},       {"Numpad5", 0x4C, false},       {"Numpad6", 0x4D, false},
    {"NumpadAdd", 0x4E, false},     {"Numpad1", 0x4F, false},       {"Numpad2", 0x50, false},
    {"Numpad3", 0x51, false},       {"Numpad0", 0x52, false},       {"NumpadDecimal", 0x53, false},
    {"IntlBackslash", 0x56, false}, {"F11", 0x57, false},           {"F12", 0x58, false},
    {"NumpadEqual", 0x59, false},   {"KanaMode", 0x70, false},      {"IntlRo", 0x73, false},
    {"Convert", 0x79, false},       {"NonConvert", 0x7B, false},    {"IntlYen", 0x7D, false},
    {"NumpadEnter", 0x1C, true},    {"ControlRight", 0x1D, true},   {"NumpadDivide", 0x35, true},
    {"PrintScreen", 0x37, true},    {"AltRight", 0x38, true},       {"Home", 0x47, true},
    {"ArrowUp", 0x48, true},        {"PageUp", 0x49, true},         {"ArrowLeft", 0x4B, true},
    {"ArrowRight", 0x4D, true},     {"End", 0x4F, true},            {"ArrowDown", 0x50, true},
    {"PageDown", 0x51, true},       {"Insert", 0x52, true},         {"Delete", 0x53, true},
    {"MetaLeft", 0x5B, true},       {"MetaRight", 0x5C, true},      {"ContextMenu", 0x5D, true},
};

bool IsModifierOrLock(std::string_view code) {
  for (std::string_view name : {"ShiftLeft", "ShiftRight", "ControlLeft", "ControlRight",
                                "AltLeft", "AltRight", "MetaLeft", "MetaRight", "CapsLock",
                                "NumLock", "ScrollLock"}) {
    if (code == name) return true;
  }
  return false;
}

// The control character a named key types (Enter, Backspace, Tab, Escape), 0 for others.
uint8_t NamedKeyCharacter(std::string_view name) {
  if (name == "Enter") return '\r';
  if (name == "Backspace") return '\b';
  if (name == "Tab") return '\t';
  if (name == "Escape") return 0x1B;
  return 0;
}

// The key's own unmodified character: letters and digits from the key's place, named keys
// from their name, and otherwise what it types without Shift.
uint8_t OwnCharacter(const BrowserKeyEvent& event, uint8_t typed) {
  const std::string_view code = event.code;
  if (code.size() == 4 && code.substr(0, 3) == "Key") return static_cast<uint8_t>(code[3] - 'A' + 'a');
  if (code.size() == 6 && code.substr(0, 5) == "Digit") return static_cast<uint8_t>(code[5]);
  if (const uint8_t named = NamedKeyCharacter(event.key_name); named != 0) return named;
  return event.shift ? 0 : typed;
}

}  // namespace

BrowserPcKey PcKeyForCode(std::string_view code) {
  for (const CodeEntry& entry : kCodes) {
    if (entry.code == code) return BrowserPcKey{entry.scan_code, entry.enhanced};
  }
  return BrowserPcKey{};
}

namespace {

// What each DOM event type is to the back-end.
enum class PageKind { kPointerMove, kPointerDown, kPointerUp, kWheel, kPointerLeave, kKeyDown,
                      kActivity, kResize };
struct PageKindEntry {
  std::string_view type;
  PageKind kind;
};
constexpr PageKindEntry kPageKinds[] = {
    {"pointermove", PageKind::kPointerMove}, {"pointerdown", PageKind::kPointerDown},
    {"pointerup", PageKind::kPointerUp},     {"pointercancel", PageKind::kPointerUp},
    {"wheel", PageKind::kWheel},             {"pointerleave", PageKind::kPointerLeave},
    {"keydown", PageKind::kKeyDown},         {"focus", PageKind::kActivity},
    {"blur", PageKind::kActivity},           {"visibilitychange", PageKind::kActivity},
    {"resize", PageKind::kResize}};

// A whole number of pixels as a 32-bit store keeps it (ToInt32: not finite gives 0), in its
// low 16 bits. (Beyond 2^63 pixels, which no page has, it gives 0 too.)
int32_t Low16Bits(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 0x1p63) return 0;
  return static_cast<int32_t>(static_cast<int64_t>(value) & 0xFFFF);
}

// MouseEvent.button (0 left, 1 middle, 2 right, 3, 4) as the button bit of window messages.
int32_t ButtonBit(double button) {
  constexpr int32_t kBits[] = {1, 4, 2, 8, 16};
  for (int32_t i = 0; i < 5; ++i) {
    if (button == i) return kBits[i];
  }
  return 0;
}

// The Unicode character of KeyboardEvent.key when it is one character (in UTF-8), else 0.
char32_t OneCharacter(std::string_view key) {
  size_t leads = 0;
  for (const char c : key) leads += (static_cast<uint8_t>(c) & 0xC0) != 0x80 ? 1 : 0;
  if (leads != 1) return 0;
  const auto lead = static_cast<uint8_t>(key[0]);
  const int32_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  char32_t character = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t i = 1; i < key.size(); ++i) {
    character = (character << 6) | (static_cast<uint8_t>(key[i]) & 0x3F);
  }
  return character;
}

}  // namespace

CanvasPoint CanvasPosition(const PageEvent& event, int32_t width, int32_t height) {
  const auto& n = event.numbers;
  const double x = std::floor((n[kClientX] - n[kLeft]) * width / n[kWidth]);
  const double y = std::floor((n[kClientY] - n[kTop]) * height / n[kHeight]);
  CanvasPoint point;
  point.x = Low16Bits(x);
  point.y = Low16Bits(y);
  point.inside = x >= 0 && y >= 0 && x < width && y < height;
  return point;
}

void PageEventTranslator::NoteActivity(int32_t active, const MessageSink& sink) {
  if (active == active_) return;
  active_ = active;
  WindowMessage message;
  message.kind = MessageKind::kActivate;
  message.activated = active != 0;
  sink(message);
}

void PageEventTranslator::SendPointer(MessageKind kind, const PageEvent& event,
                                      const MessageSink& sink, int32_t button,
                                      int32_t wheel_turn) {
  const CanvasPoint point = CanvasPosition(event, width_, height_);
  inside_ = point.inside;
  WindowMessage message;
  message.kind = kind;
  message.x = point.x;
  message.y = point.y;
  message.button = button;
  message.wheel_turn = wheel_turn;
  sink(message);
}

PageAction PageEventTranslator::Translate(const PageEvent& event, const MessageSink& sink) {
  const auto* entry = std::find_if(std::begin(kPageKinds), std::end(kPageKinds),
                                   [&event](const PageKindEntry& e) { return e.type == event.type; });
  if (entry == std::end(kPageKinds)) return PageAction::kNone;
  const auto& n = event.numbers;
  switch (entry->kind) {
    case PageKind::kPointerMove:
      SendPointer(MessageKind::kMouseMove, event, sink);
      break;
    case PageKind::kPointerDown:
      NoteActivity(1, sink);  // the click that activates the page counts
      SendPointer(MessageKind::kMouseMove, event, sink);
      SendPointer(MessageKind::kButtonDown, event, sink, ButtonBit(n[kButton]));
      break;
    case PageKind::kPointerUp:
      SendPointer(MessageKind::kMouseMove, event, sink);
      SendPointer(MessageKind::kButtonUp, event, sink, ButtonBit(n[kButton]));
      break;
    case PageKind::kWheel:
      if (n[kDeltaY] != 0) {
        SendPointer(MessageKind::kWheel, event, sink, 0, n[kDeltaY] < 0 ? 1 : -1);
      }
      break;
    case PageKind::kPointerLeave: {
      inside_ = false;
      WindowMessage leave;
      leave.kind = MessageKind::kMouseLeave;
      sink(leave);
      break;
    }
    case PageKind::kKeyDown: {
      BrowserKeyEvent key;
      key.code = event.code;
      key.key_name = event.key;
      key.character = OneCharacter(event.key);
      key.shift = n[kShiftKey] != 0;
      key.ctrl = n[kCtrlKey] != 0;
      key.alt = n[kAltKey] != 0;
      for (const WindowMessage& message : KeyMessages(key)) sink(message);
      break;
    }
    case PageKind::kActivity:
      NoteActivity(n[kFocused] != 0 && n[kVisible] != 0 ? 1 : 0, sink);
      if (event.type == "visibilitychange" && n[kVisible] != 0) return PageAction::kRepaint;
      break;
    case PageKind::kResize:
      return PageAction::kFitToViewport;
  }
  return PageAction::kNone;
}

std::vector<WindowMessage> KeyMessages(const BrowserKeyEvent& event) {
  std::vector<WindowMessage> messages;
  if (IsModifierOrLock(event.code)) return messages;
  const BrowserPcKey pc = PcKeyForCode(event.code);
  if (pc.scan_code == 0) return messages;

  uint8_t typed = 0;
  if (event.character != 0) {
    typed = Cp437FromUnicode(event.character);
  } else {
    typed = NamedKeyCharacter(event.key_name);
  }
  const uint8_t own = OwnCharacter(event, typed);
  // Ctrl without Alt types control characters; Ctrl with Alt is AltGr, which types as given.
  if (event.ctrl && !event.alt) typed = ControlCharacter(own);

  const bool system_key = (event.alt && !event.ctrl) || event.code == "F10";
  WindowMessage key;
  key.kind = system_key ? MessageKind::kSystemKeyDown : MessageKind::kKeyDown;
  key.key.scan_code = pc.scan_code;
  key.key.enhanced = pc.enhanced;
  key.key.typed = typed;
  key.key.own = own;
  key.key.shift = event.shift;
  key.key.ctrl = event.ctrl;
  key.key.alt = event.alt;
  messages.push_back(key);
  if (!system_key && typed != 0) {
    WindowMessage character;
    character.kind = MessageKind::kCharacter;
    character.character = typed;
    messages.push_back(character);
  }
  return messages;
}

void RgbaFromFramebuffer(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t first,
                         int32_t last, std::vector<uint8_t>& rgba) {
  const size_t rows = last >= first ? static_cast<size_t>(last - first + 1) : 0;
  rgba.resize(rows * static_cast<size_t>(width) * 4);
  uint8_t* out = rgba.data();
  for (int32_t y = first; y <= last; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    for (int32_t x = 0; x < width; ++x, out += 4) {
      uint32_t word = 0;
      std::memcpy(&word, row + static_cast<size_t>(x) * 4, 4);
      out[0] = static_cast<uint8_t>(word >> 16);
      out[1] = static_cast<uint8_t>(word >> 8);
      out[2] = static_cast<uint8_t>(word);
      out[3] = 255;
    }
  }
}

}  // namespace layer
