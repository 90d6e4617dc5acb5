// SPDX-License-Identifier: MIT
// The wake signal as a manual-reset event; the window thread sleeps on it and on its own
// message queue at once.
#include <windows.h>

#include <cstdint>

#include "platform/wake_signal.h"

namespace layer {
namespace {

HANDLE AsHandle(int value) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(value));
}

}  // namespace

// Kernel handles fit in 32 bits on 64-bit Windows, so the event's handle travels as an int.
WakeSignal::WakeSignal() {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event != nullptr) fd_ = static_cast<int>(reinterpret_cast<intptr_t>(event));
}

WakeSignal::~WakeSignal() {
  if (fd_ >= 0) CloseHandle(AsHandle(fd_));
}

void WakeSignal::Raise() {
  if (fd_ >= 0) SetEvent(AsHandle(fd_));
}

void WakeSignal::Clear() {
  if (fd_ >= 0) ResetEvent(AsHandle(fd_));
}

void SleepUntilSignalled(int event_source, const WakeSignal& wake,
                         std::chrono::milliseconds timeout) {
  HANDLE handles[2];
  DWORD count = 0;
  if (wake.fd() >= 0) handles[count++] = AsHandle(wake.fd());
  if (event_source > 0) handles[count++] = AsHandle(event_source);
  // MWMO_INPUTAVAILABLE: messages already queued but not yet looked at also end the wait.
  MsgWaitForMultipleObjectsEx(count, handles, static_cast<DWORD>(timeout.count()), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void SleepUntilRaised(const WakeSignal& wake, std::chrono::milliseconds timeout) {
  if (wake.fd() < 0) {
    Sleep(static_cast<DWORD>(timeout.count()));
    return;
  }
  WaitForSingleObject(AsHandle(wake.fd()), static_cast<DWORD>(timeout.count()));
}

}  // namespace layer
