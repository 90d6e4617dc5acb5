// SPDX-License-Identifier: MIT
// Turning Win32 window messages into window messages. A pure function of the message and of
// what the back-end read from the keyboard, so that it builds and is tested without windows.h.
#pragma once

#include <cstdint>
#include <optional>

#include "input/window_message.h"

namespace layer {

// The Win32 message numbers the translation knows (as in winuser.h).
namespace win32_message {
inline constexpr uint32_t kActivate = 0x0006;
inline constexpr uint32_t kClose = 0x0010;
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kChar = 0x0102;
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kSysChar = 0x0106;
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kLButtonUp = 0x0202;
inline constexpr uint32_t kLButtonDblClk = 0x0203;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kRButtonUp = 0x0205;
inline constexpr uint32_t kRButtonDblClk = 0x0206;
inline constexpr uint32_t kMButtonDown = 0x0207;
inline constexpr uint32_t kMButtonUp = 0x0208;
inline constexpr uint32_t kMButtonDblClk = 0x0209;
inline constexpr uint32_t kMouseWheel = 0x020A;
inline constexpr uint32_t kXButtonDown = 0x020B;
inline constexpr uint32_t kXButtonUp = 0x020C;
inline constexpr uint32_t kXButtonDblClk = 0x020D;
inline constexpr uint32_t kMouseLeave = 0x02A3;
}  // namespace win32_message

// What the back-end read from the keyboard for a key-down message: the character the key
// types with the current keyboard state and its own unmodified character (code page 437, 0
// for none), and the modifiers held.
struct Win32KeyState {
  uint8_t typed = 0;
  uint8_t own = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// The window message for one Win32 message; nothing for messages that carry no input.
// Pointer positions are in window pixels. pointer_inside is left false.
std::optional<WindowMessage> TranslateWin32Message(uint32_t message, uint64_t wparam,
                                                   int64_t lparam, const Win32KeyState& keys);

}  // namespace layer
