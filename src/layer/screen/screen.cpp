// SPDX-License-Identifier: MIT
// The screen: opening and closing it, the drawing state and the pixel helpers.
#include "screen/screen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>

#include "layer.h"
#include "platform/program_path.h"

namespace layer {
namespace {

std::recursive_mutex g_screen_lock;
std::unique_ptr<Screen> g_screen;
std::function<BackendList()> g_backend_factory;
uint64_t g_next_serial = 1;
bool g_exit_handler_registered = false;
thread_local DrawingState t_drawing_state;

// The program's file name without its extension: the window's title.
std::string ProgramTitle() {
  std::string name = LocateExecutable().file_name;
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

void CloseScreenAtExit() {
  CloseScreen();
}

}  // namespace

std::recursive_mutex& ScreenLock() {
  return g_screen_lock;
}

Screen* CurrentScreen() {
  return g_screen.get();
}

void SetBackendFactory(std::function<BackendList()> factory) {
  g_backend_factory = std::move(factory);
}

DrawingState& CurrentDrawingState(const Screen& screen) {
  DrawingState& state = t_drawing_state;
  if (state.screen_serial != screen.serial) {
    state = DrawingState{};
    state.screen_serial = screen.serial;
    state.foreground = 0xFFFFFFFFu;
    state.background = state.foreground & 0xFF000000u;
    state.clip = ClipRect{0, 0, screen.width - 1, screen.height - 1};
  }
  return state;
}

int32_t RoundCoordinate(float value) {
  double v = value;
  if (std::isnan(v)) return 0;
  if (v > 0) v += 0.5;
  if (v < 0) v -= 0.5;
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  if (v <= kLow) return std::numeric_limits<int32_t>::min();
  if (v >= kHigh) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(v);  // truncates toward zero
}

uint32_t ChooseColour(const DrawingState& state, uint32_t colour, int32_t flags) {
  return (flags & kUseForegroundColour) != 0 ? state.foreground : colour;
}

void PutPixel(Screen& screen, int32_t x, int32_t y, uint32_t colour) {
  std::memcpy(screen.Row(y) + static_cast<size_t>(x) * 4, &colour, 4);
}

void FillSpan(Screen& screen, int32_t x1, int32_t x2, int32_t y, uint32_t colour) {
  uint8_t* pixel = screen.Row(y) + static_cast<size_t>(x1) * 4;
  for (int32_t x = x1; x <= x2; ++x, pixel += 4) std::memcpy(pixel, &colour, 4);
}

void MarkRows(Screen& screen, int32_t y1, int32_t y2) {
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max(y1, 0);
  y2 = std::min(y2, screen.height - 1);
  if (y1 > y2) return;
  std::memset(screen.row_marks.data() + y1, 1,
              static_cast<size_t>(y2) - static_cast<size_t>(y1) + 1);
  WakeWindowThread(screen);
}

void WakeWindowThread(Screen& screen) {
  if (screen.quiet.load() && screen.quiet.exchange(false)) screen.wake.Raise();
}

void CloseScreen() {
  std::unique_ptr<Screen> closing;
  {
    // From here on no thread finds the screen; any that still uses it holds the lock.
    std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
    closing = std::move(g_screen);
  }
  if (!closing) return;
  StopWindowThread(*closing);
  NoteScreenClosed();
}

int32_t OpenScreen(int32_t width, int32_t height, int32_t depth, int32_t /*pages*/,
                   int32_t /*flags*/, int32_t /*refresh_rate*/) {
  // The window shows 32-bit pixel rows only (24 is stored as 32); a screen of fewer bits per
  // pixel would open a window that never shows what is drawn.
  if (width <= 0 || height <= 0 || (depth != 24 && depth != 32)) return 1;
  constexpr int32_t bytes_per_pixel = 4;
  // A framebuffer row must fit a signed 32-bit pitch.
  const int64_t pitch = int64_t{width} * bytes_per_pixel;
  if (pitch > std::numeric_limits<int32_t>::max()) return 1;
  CloseScreen();

  auto screen = std::make_unique<Screen>();
  screen->width = width;
  screen->height = height;
  screen->depth = depth;
  screen->bytes_per_pixel = bytes_per_pixel;
  screen->pitch = static_cast<int32_t>(pitch);
  // The browser page's program is built without C++ exceptions (cmake/Web.cmake): there a
  // failed allocation aborts the program here instead of failing the call.
  try {
    screen->framebuffer.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    screen->row_marks.assign(static_cast<size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    return 1;
  }
  screen->title = ProgramTitle();
  screen->serial = g_next_serial++;

  BackendList backends = g_backend_factory ? g_backend_factory() : MakeDefaultBackends();
  if (!StartWindowThread(*screen, std::move(backends))) return 1;
  NoteScreenOpened();

  {
    std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
    g_screen = std::move(screen);
    Screen& open = *g_screen;
    const DrawingState& state = CurrentDrawingState(open);
    for (int32_t y = 0; y < open.height; ++y)
      FillSpan(open, 0, open.width - 1, y, state.background);
    MarkRows(open, 0, open.height - 1);
  }
  if (!g_exit_handler_registered) {
    std::atexit(CloseScreenAtExit);
    g_exit_handler_registered = true;
  }
  return 0;
}

void ClearScreen(int32_t mode) {
  std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return;
  // Only the whole-screen clear exists; viewports and text windows are never set here.
  if (mode != kClearWholeScreen) return;
  DrawingState& state = CurrentDrawingState(*screen);
  for (int32_t y = 0; y < screen->height; ++y) {
    FillSpan(*screen, 0, screen->width - 1, y, state.background);
  }
  MarkRows(*screen, 0, screen->height - 1);
}

uint32_t SetColour(uint32_t foreground, uint32_t background, int32_t flags) {
  std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return 0;
  DrawingState& state = CurrentDrawingState(*screen);
  const uint32_t previous = state.foreground;
  if ((flags & 1) == 0) state.foreground = foreground;
  if ((flags & 2) == 0) state.background = background;
  return previous;
}

int32_t ScreenInfo(ScreenDescription& out) {
  std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
  Screen* screen = CurrentScreen();
  if (screen == nullptr) return 1;
  out.width = screen->width;
  out.height = screen->height;
  out.depth = screen->depth;
  out.bytes_per_pixel = screen->bytes_per_pixel;
  out.pitch = screen->pitch;
  out.refresh_rate = screen->refresh_rate;
  out.backend = screen->backend_name;
  return 0;
}

}  // namespace layer
