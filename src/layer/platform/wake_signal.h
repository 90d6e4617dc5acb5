// SPDX-License-Identifier: MIT
// A signal that wakes the window thread from its sleep: raised from any thread, set until
// cleared. One sleep also ends when the window system has input, the other does not.
#pragma once

#include <chrono>
#include <cstdint>

namespace layer {

class WakeSignal {
 public:
  WakeSignal();
  ~WakeSignal();
  WakeSignal(const WakeSignal&) = delete;
  WakeSignal& operator=(const WakeSignal&) = delete;

  // What a sleeper waits on: a descriptor to poll for reading on POSIX systems, an event's
  // handle on Windows; -1 when the system gave none (the signal is inert).
  int fd() const { return fd_; }
  void Raise();
  void Clear();

 private:
  int fd_ = -1;
};

// Sleeps until the back-end's event source has input, the signal is raised or the timeout
// passes. The event source is what Backend::EventSource names: a descriptor on POSIX systems;
// on Windows an event's handle, or 0 for the calling thread's own message queue.
void SleepUntilSignalled(int event_source, const WakeSignal& wake,
                         std::chrono::milliseconds timeout);
// Sleeps until the signal is raised or the timeout passes; window input does not end it.
void SleepUntilRaised(const WakeSignal& wake, std::chrono::milliseconds timeout);

}  // namespace layer
