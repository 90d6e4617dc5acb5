// SPDX-License-Identifier: MIT
// A signal that wakes a thread sleeping in poll(): raised from any thread, readable until
// cleared.
#pragma once

namespace layer {

class WakeSignal {
 public:
  WakeSignal();
  ~WakeSignal();
  WakeSignal(const WakeSignal&) = delete;
  WakeSignal& operator=(const WakeSignal&) = delete;

  // The descriptor to poll for reading; -1 when the system gave none (the signal is inert).
  int fd() const { return fd_; }
  void Raise();
  void Clear();

 private:
  int fd_ = -1;
};

}  // namespace layer
