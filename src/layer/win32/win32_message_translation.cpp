// SPDX-License-Identifier: MIT
// Win32 messages to window messages, following the message table of the input state.
#include "win32/win32_message_translation.h"

#include <algorithm>

#include "input/cp437.h"

namespace layer {
namespace {

namespace wm = win32_message;

uint32_t Low16(uint64_t value) { return static_cast<uint32_t>(value & 0xFFFF); }
uint32_t High16(uint64_t value) { return static_cast<uint32_t>((value >> 16) & 0xFFFF); }

WindowMessage Make(MessageKind kind) {
  WindowMessage message;
  message.kind = kind;
  return message;
}

WindowMessage Button(MessageKind kind, int32_t button) {
  WindowMessage message = Make(kind);
  message.button = button;
  return message;
}

// The extra button a message names in the high word of wParam: 8 for the first, 16 for the
// second.
int32_t ExtraButton(uint64_t wparam) {
  return static_cast<int32_t>((High16(wparam) & 0x3) << 3);
}

// A wheel turn in notches; a part of a notch (smooth wheels) still counts one way or the other.
int32_t WheelTurn(uint64_t wparam) {
  const int32_t delta = static_cast<int16_t>(High16(wparam));
  if (delta > 0) return std::max(1, delta / 120);
  if (delta < 0) return std::min(-1, delta / 120);
  return 0;
}

std::optional<WindowMessage> Character(uint64_t wparam, int64_t lparam) {
  const char16_t unit = static_cast<char16_t>(Low16(wparam));
  // A character beyond the 16-bit range comes as a pair of halves: the first adds nothing,
  // the second adds one '?' (code page 437 has no such character).
  if (unit >= 0xD800 && unit <= 0xDBFF) return std::nullopt;
  WindowMessage message = Make(MessageKind::kCharacter);
  message.character = (unit >= 0xDC00 && unit <= 0xDFFF) ? '?' : Cp437FromUnicode(unit);
  message.repeat = static_cast<int32_t>(Low16(static_cast<uint64_t>(lparam)));
  return message;
}

WindowMessage KeyDown(MessageKind kind, int64_t lparam, const Win32KeyState& keys) {
  const uint64_t data = static_cast<uint64_t>(lparam);
  WindowMessage message = Make(kind);
  message.repeat = static_cast<int32_t>(Low16(data));
  message.key.scan_code = static_cast<int32_t>((data >> 16) & 0xFF);
  message.key.enhanced = ((data >> 24) & 1) != 0;
  message.key.typed = keys.typed;
  message.key.own = keys.own;
  message.key.shift = keys.shift;
  message.key.ctrl = keys.ctrl;
  message.key.alt = keys.alt;
  return message;
}

}  // namespace

std::optional<WindowMessage> TranslateWin32Message(uint32_t message, uint64_t wparam,
                                                   int64_t lparam, const Win32KeyState& keys) {
  switch (message) {
    case wm::kMouseMove: {
      WindowMessage move = Make(MessageKind::kMouseMove);
      move.x = static_cast<int32_t>(Low16(static_cast<uint64_t>(lparam)));
      move.y = static_cast<int32_t>(High16(static_cast<uint64_t>(lparam)));
      return move;
    }
    case wm::kLButtonDown:
    case wm::kLButtonDblClk:
      return Button(MessageKind::kButtonDown, 1);
    case wm::kLButtonUp:
      return Button(MessageKind::kButtonUp, 1);
    case wm::kRButtonDown:
    case wm::kRButtonDblClk:
      return Button(MessageKind::kButtonDown, 2);
    case wm::kRButtonUp:
      return Button(MessageKind::kButtonUp, 2);
    case wm::kMButtonDown:
    case wm::kMButtonDblClk:
      return Button(MessageKind::kButtonDown, 4);
    case wm::kMButtonUp:
      return Button(MessageKind::kButtonUp, 4);
    case wm::kXButtonDown:
    case wm::kXButtonDblClk:
      return Button(MessageKind::kButtonDown, ExtraButton(wparam));
    case wm::kXButtonUp:
      return Button(MessageKind::kButtonUp, ExtraButton(wparam));
    case wm::kMouseWheel: {
      WindowMessage wheel = Make(MessageKind::kWheel);
      wheel.wheel_turn = WheelTurn(wparam);
      return wheel;
    }
    case wm::kActivate: {
      WindowMessage activate = Make(MessageKind::kActivate);
      activate.activated = Low16(wparam) != 0;  // WA_INACTIVE is 0
      activate.minimized = High16(wparam) != 0;
      return activate;
    }
    case wm::kMouseLeave:
      return Make(MessageKind::kMouseLeave);
    case wm::kChar:
      return Character(wparam, lparam);
    case wm::kKeyDown:
      return KeyDown(MessageKind::kKeyDown, lparam, keys);
    case wm::kSysKeyDown:
      return KeyDown(MessageKind::kSystemKeyDown, lparam, keys);
    case wm::kClose:
      return Make(MessageKind::kClose);
    default:
      // WM_SYSCHAR among them: a character typed with Alt adds nothing, as with SDL.
      return std::nullopt;
  }
}

}  // namespace layer
