// SPDX-License-Identifier: MIT
// The window's pointer capture as the input state asks for it, without a window: it records
// what was asked, for the input tests and the back-ends' translation tests.
#pragma once

#include "input/window_message.h"

class FakePointer : public layer::PointerControl {
 public:
  void CaptureMouse() override {
    captured = true;
    ++captures;
  }
  void ReleaseMouse() override {
    captured = false;
    ++releases;
  }
  bool HoldsCapture() const override { return captured; }
  void RequestLeaveNotice() override { ++leave_requests; }

  bool captured = false;
  int captures = 0;
  int releases = 0;
  int leave_requests = 0;
};
