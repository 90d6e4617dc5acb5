// SPDX-License-Identifier: MIT
// The window back-end: the one place that talks to a window system.
//
// Every back-end implements this template. The window thread makes one back-end, then calls
// every member below on that thread alone, in this order: Open once; then, in passes while
// holding the screen lock, Present for the rows that changed and Pump for the queued events;
// finally Close. Passes come about every 10 ms; while nothing happens, a back-end that names
// its event source lets the window thread sleep until that source has input. A back-end
// never calls the game and never touches the framebuffer except through Present. It only
// turns its window system's events into window messages, with positions in window pixels as
// the system reports them; the message router (screen/message_router.h) takes each one on to
// the input state.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "input/window_message.h"
#include "layer.h"

namespace layer {

// What DescribeScreen said last: the screen's name and the controls a screen reader can choose.
struct ScreenWords {
  std::string name;
  std::vector<ScreenControl> controls;
};

struct WindowRequest {
  std::string title;  // the program's file name without its extension
  int32_t width = 0;  // drawing area in pixels
  int32_t height = 0;
};

class Backend : public PointerControl {
 public:
  // Name reported by ScreenInfo, for example "sdl2-x11" or "headless".
  virtual std::string Name() const = 0;
  // Makes and shows the window (centred, raised). False when this back-end cannot.
  virtual bool Open(const WindowRequest& request) = 0;
  // Display refresh rate in Hz, 0 when unknown.
  virtual int32_t RefreshRate() const = 0;
  // Copies framebuffer rows first_row..last_row (inclusive) of 32-bit pixels to the window.
  virtual void Present(const uint8_t* pixels, int32_t pitch, int32_t first_row,
                       int32_t last_row) = 0;
  // Handles queued window events, handing input messages to sink. Returns true when the
  // window needs repainting whole (uncovered, restored).
  virtual bool Pump(const MessageSink& sink) = 0;
  // Whether the pointer was over the drawing area when the message Pump is handing to its
  // sink came; asked for each message while it is handed over.
  virtual bool PointerInside() const { return false; }
  // Window pixels per framebuffer pixel along each axis.
  virtual int32_t Scale() const { return 1; }
  // Destroys the window and releases the window system.
  virtual void Close() = 0;
  // What becomes ready when the window system has events for Pump (see SleepUntilSignalled:
  // a file descriptor on POSIX systems, the thread's message queue on Windows), or -1 when
  // the back-end cannot tell (passes then keep their 10 ms period).
  virtual int EventSource() const { return -1; }
  // Whether messages came outside Pump and wait for the next one, which must then come soon.
  virtual bool HoldsMessages() const { return false; }
  // Tells a screen reader the screen's new description, then the sentences announced since
  // the last pass (in a pass, after Present); back-ends without screen readers ignore them.
  virtual void Describe(const ScreenWords& /*words*/) {}
  virtual void Announce(const std::vector<std::string>& /*sentences*/) {}
};

// The back-ends OpenScreen tries, in order, until one opens.
using BackendList = std::vector<std::unique_ptr<Backend>>;
BackendList MakeDefaultBackends();  // the real window system's display back-ends

}  // namespace layer
