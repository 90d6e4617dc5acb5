// SPDX-License-Identifier: MIT
// The headless back-end: a pretend window that keeps what was presented to it.
#include "backends/headless_backend.h"

#include <cstring>

namespace layer {

bool HeadlessBackend::Open(const WindowRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  width_ = request.width;
  height_ = request.height;
  shown_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
  open_ = true;
  return true;
}

void HeadlessBackend::Present(const uint8_t* pixels, int32_t pitch, int32_t first_row,
                              int32_t last_row) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int32_t y = first_row; y <= last_row; ++y) {
    std::memcpy(shown_.data() + static_cast<size_t>(y) * width_,
                pixels + static_cast<size_t>(y) * pitch, static_cast<size_t>(width_) * 4);
  }
}

bool HeadlessBackend::Pump(const MessageSink& sink) {
  ++pumps_;
  std::deque<WindowMessage> messages;
  bool expose = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    messages.swap(queue_);
    std::swap(expose, expose_);
    events_.Clear();
  }
  for (const WindowMessage& message : messages) {
    inside_ = message.pointer_inside;
    sink(message);
  }
  return expose;
}

void HeadlessBackend::Close() {
  std::lock_guard<std::mutex> lock(mutex_);
  open_ = false;
}

void HeadlessBackend::Describe(const ScreenWords& words) {
  std::lock_guard<std::mutex> lock(mutex_);
  described_ = words;
}

void HeadlessBackend::Announce(const std::vector<std::string>& sentences) {
  std::lock_guard<std::mutex> lock(mutex_);
  announced_.insert(announced_.end(), sentences.begin(), sentences.end());
}

std::vector<std::string> HeadlessBackend::Announced() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return announced_;
}

ScreenWords HeadlessBackend::Described() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return described_;
}

void HeadlessBackend::Inject(const WindowMessage& message) {
  std::lock_guard<std::mutex> lock(mutex_);
  queue_.push_back(message);
  events_.Raise();
}

void HeadlessBackend::InjectExpose() {
  std::lock_guard<std::mutex> lock(mutex_);
  expose_ = true;
  events_.Raise();
}

uint32_t HeadlessBackend::ShownPixel(int32_t x, int32_t y) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return shown_[static_cast<size_t>(y) * width_ + x];
}

bool HeadlessBackend::IsOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

}  // namespace layer
