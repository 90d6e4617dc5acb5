// SPDX-License-Identifier: MIT
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "platform/wake_signal.h"

namespace layer {

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
  if (fd_ >= 0) close(fd_);
}

void WakeSignal::Raise() {
  if (fd_ < 0) return;
  const uint64_t one = 1;
  // A full counter is still readable, so a failed write loses nothing.
  [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void WakeSignal::Clear() {
  if (fd_ < 0) return;
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t read_bytes = read(fd_, &count, sizeof count);
}

void SleepUntilSignalled(int event_source, const WakeSignal& wake,
                         std::chrono::milliseconds timeout) {
  pollfd sources[2] = {{event_source, POLLIN, 0}, {wake.fd(), POLLIN, 0}};
  poll(sources, 2, static_cast<int>(timeout.count()));
}

void SleepUntilRaised(const WakeSignal& wake, std::chrono::milliseconds timeout) {
  pollfd source = {wake.fd(), POLLIN, 0};
  poll(&source, 1, static_cast<int>(timeout.count()));
}

}  // namespace layer
