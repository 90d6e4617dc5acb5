// SPDX-License-Identifier: MIT
// A back-end without a window, for tests: the same framebuffer and window thread, input
// messages injected by the test, and a copy of every row the window thread presents.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "backends/backend.h"
#include "platform/wake_signal.h"

namespace layer {

class HeadlessBackend final : public Backend {
 public:
  // With an event source, the window thread may sleep between passes until a message is
  // injected, as it does on a real window system; without one, passes keep their period.
  explicit HeadlessBackend(bool with_event_source = false)
      : with_event_source_(with_event_source) {}

  std::string Name() const override { return "headless"; }
  bool Open(const WindowRequest& request) override;
  int32_t RefreshRate() const override { return 0; }
  void Present(const uint8_t* pixels, int32_t pitch, int32_t first_row, int32_t last_row) override;
  bool Pump(const MessageSink& sink) override;
  void Close() override;
  int EventSource() const override { return with_event_source_ ? events_.fd() : -1; }
  // An injected message says itself whether the pointer is inside.
  bool PointerInside() const override { return inside_; }

  void CaptureMouse() override { captured_ = true; }
  void ReleaseMouse() override { captured_ = false; }
  bool HoldsCapture() const override { return captured_; }
  void RequestLeaveNotice() override { leave_notices_requested_++; }
  void Describe(const ScreenWords& words) override;
  void Announce(const std::vector<std::string>& sentences) override;

  // ---- For tests (any thread) ----
  // Queues a message for the window thread's next pass.
  void Inject(const WindowMessage& message);
  // Asks for a whole repaint at the next pass, as an uncovered window would.
  void InjectExpose();
  // Pixel (x, y) as last presented to the "window", 0 if never presented.
  uint32_t ShownPixel(int32_t x, int32_t y) const;
  // Whether Open was called and Close not yet.
  bool IsOpen() const;
  int32_t LeaveNoticesRequested() const { return leave_notices_requested_.load(); }
  // Every sentence announced to this window so far, in order, and the last description.
  std::vector<std::string> Announced() const;
  ScreenWords Described() const;
  // How many times the window thread has pumped this window's messages.
  int32_t Pumps() const { return pumps_.load(); }

 private:
  const bool with_event_source_;
  WakeSignal events_;  // raised by every injection
  mutable std::mutex mutex_;
  std::deque<WindowMessage> queue_;
  bool expose_ = false;
  bool open_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint32_t> shown_;
  std::vector<std::string> announced_;
  ScreenWords described_;
  bool captured_ = false;
  bool inside_ = false;  // of the message Pump is handing over (window thread only)
  std::atomic<int32_t> leave_notices_requested_{0};  // written by the window thread
  std::atomic<int32_t> pumps_{0};                     // written by the window thread
};

}  // namespace layer
