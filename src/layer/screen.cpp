// The screen: opening and closing it, the window thread, and the drawing state.
#include "screen.h"

#include <poll.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <limits>
#include <system_error>

#include "layer.h"

namespace layer {
namespace {

constexpr auto kRefreshPeriod = std::chrono::milliseconds(10);
// Longest pause of a quiet window thread: passes come at least this often, so that work the
// window system defers to a later pump is never put off for long.
constexpr auto kQuietPassPeriod = std::chrono::milliseconds(100);
// Shortest pause after a pass that handled input, however fast new input comes.
constexpr auto kInputPassGap = std::chrono::milliseconds(2);
// Longest wait of AwaitNextPass for new input. Only input changes what a poll loop sees, so
// this is a safety net, not a cadence.
constexpr auto kAwaitInputTimeout = std::chrono::milliseconds(100);
// The executable's path is read into this much room for the window title.
constexpr size_t kTitlePathBytes = 127;

std::recursive_mutex g_screen_lock;
std::unique_ptr<Screen> g_screen;
std::function<BackendList()> g_backend_factory;
uint64_t g_next_serial = 1;
bool g_exit_handler_registered = false;
thread_local DrawingState t_drawing_state;

// What the window thread has done so far, for threads that wait on it. It is kept apart from
// the screen and outlives every screen, so no waiter is ever left on a freed screen.
struct WindowProgress {
  std::mutex mutex;
  std::condition_variable pass_finished;  // after every pass, and when a screen closes
  std::condition_variable input_arrived;  // after a pass that handled messages, and on closing
  uint64_t passes = 0;
  uint64_t closes = 0;
  uint64_t messages_handled = 0;  // window messages applied to the input state, all screens
  uint64_t messages_awaited = 0;  // messages_handled when AwaitNextPass last returned
  bool screen_open = false;
};
WindowProgress g_progress;

int32_t BytesPerPixel(int32_t depth) {
  switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
      return 1;
    case 15:
    case 16:
      return 2;
    case 24:
    case 32:
      return 4;
    default:
      return 0;
  }
}

// The program's file name without its extension: the window's title.
std::string ProgramTitle() {
  std::error_code error;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  if (path.size() > kTitlePathBytes) path.resize(kTitlePathBytes);
  std::string name = path.substr(path.find_last_of('/') + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

// Copies the marked band of rows to the window and clears the marks (lock held). False when
// no row was marked.
bool PresentMarkedRows(Screen& screen) {
  int32_t first = -1;
  int32_t last = -1;
  for (int32_t y = 0; y < screen.height; ++y) {
    if (screen.row_marks[y] == 0) continue;
    if (first < 0) first = y;
    last = y;
  }
  if (first < 0) return false;
  if (screen.bytes_per_pixel == 4) {
    screen.backend->Present(screen.framebuffer.data(), screen.pitch, first, last);
  }
  std::memset(screen.row_marks.data(), 0, screen.row_marks.size());
  return true;
}

bool AnyRowMarked(const Screen& screen) {
  return std::any_of(screen.row_marks.begin(), screen.row_marks.end(),
                     [](uint8_t mark) { return mark != 0; });
}

// What one pass of the window thread did.
struct PassOutcome {
  bool presented = false;  // copied rows to the window
  uint64_t messages = 0;   // window messages handed to the input state
  bool pressed = false;    // among them a button press
  bool holding = false;    // the back-end keeps messages for the next pass
};

// One refresh pass under the screen lock: copies the changed rows to the window and hands
// the window's messages to the input state.
PassOutcome RunPass(Screen& screen) {
  PassOutcome pass;
  const MessageSink sink = [&screen, &pass](const WindowMessage& message) {
    HandleMessage(screen.input, message, *screen.backend);
    ++pass.messages;
    if (message.kind == MessageKind::kButtonDown) pass.pressed = true;
  };
  std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
  pass.presented = PresentMarkedRows(screen);
  if (screen.backend->Pump(sink)) {
    std::memset(screen.row_marks.data(), 1, screen.row_marks.size());
    pass.presented = PresentMarkedRows(screen);
  }
  pass.holding = screen.backend->HoldsMessages();
  return pass;
}

// Sleeps for `period`, or less when the screen closes.
void SleepUnlessStopped(Screen& screen, std::chrono::milliseconds period) {
  std::unique_lock<std::mutex> lock(screen.stop_mutex);
  screen.stop_requested.wait_for(lock, period, [&screen] { return screen.stop.load(); });
}

// Sleeps until the window system's connection has input, a drawing marks a row, the screen
// closes, or `timeout` passes.
void SleepUntilActivity(Screen& screen, int event_source, std::chrono::milliseconds timeout) {
  {
    std::lock_guard<std::recursive_mutex> lock(g_screen_lock);
    if (AnyRowMarked(screen)) return;  // drawn since the pass
    screen.quiet.store(true);
  }
  if (!screen.stop.load()) {
    pollfd sources[2] = {{event_source, POLLIN, 0}, {screen.wake.fd(), POLLIN, 0}};
    poll(sources, 2, static_cast<int>(timeout.count()));
  }
  screen.quiet.store(false);
  screen.wake.Clear();
}

// The pause before the next pass. Passes come every refresh period while anything happens.
// A pass that handed over a press, or holds messages back, is followed by a whole period, so
// that a poll loop sees the press before its release. Otherwise, where the back-end names its
// event source, input and drawing end the pause early (after a pass with input, not before a
// short gap, which bounds the rate of passes while the mouse moves); and after a pass that
// found nothing at all, the pause lasts until something happens or the quiet period ends.
// Such a pass emptied the window system's queue and nothing has read the connection since,
// so new input always makes it readable.
void PauseAfterPass(Screen& screen, const PassOutcome& pass) {
  const int event_source = screen.backend->EventSource();
  if (event_source < 0 || screen.wake.fd() < 0 || pass.pressed || pass.holding) {
    SleepUnlessStopped(screen, kRefreshPeriod);
    return;
  }
  if (pass.messages != 0) {
    SleepUnlessStopped(screen, kInputPassGap);
    SleepUntilActivity(screen, event_source, kRefreshPeriod - kInputPassGap);
  } else if (pass.presented) {
    SleepUntilActivity(screen, event_source, kRefreshPeriod);
  } else {
    SleepUntilActivity(screen, event_source, kQuietPassPeriod);
  }
}

// Counts a finished pass and wakes its waiters. A pass without input wakes no poll loop.
void FinishPass(uint64_t messages) {
  {
    std::lock_guard<std::mutex> lock(g_progress.mutex);
    ++g_progress.passes;
    g_progress.messages_handled += messages;
  }
  g_progress.pass_finished.notify_all();
  if (messages != 0) g_progress.input_arrived.notify_all();
}

// Counts a screen's closing and wakes every waiter: what they wait for may never come.
void NoteClosed() {
  {
    std::lock_guard<std::mutex> lock(g_progress.mutex);
    ++g_progress.closes;
    g_progress.screen_open = false;
  }
  g_progress.pass_finished.notify_all();
  g_progress.input_arrived.notify_all();
}

// The window thread: makes the window with the first back-end that can, reports the
// outcome, then refreshes the window and gathers input until told to stop.
void RunWindowThread(Screen* screen, BackendList backends, std::promise<bool> opened) {
  WindowRequest request{screen->title, screen->width, screen->height};
  for (auto& backend : backends) {
    if (backend && backend->Open(request)) {
      screen->backend = std::move(backend);
      break;
    }
  }
  backends.clear();
  bool has_window = screen->backend != nullptr;
  opened.set_value(has_window);
  if (!has_window) return;

  while (!screen->stop.load()) {
    const PassOutcome pass = RunPass(*screen);
    FinishPass(pass.messages);
    PauseAfterPass(*screen, pass);
  }
  screen->backend->Close();
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
    state.foreground =
        screen.bytes_per_pixel == 4 ? 0xFFFFFFFFu : (uint32_t{1} << screen.depth) - 1;
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
  uint8_t* pixel = screen.Row(y) + static_cast<size_t>(x) * screen.bytes_per_pixel;
  if (screen.bytes_per_pixel == 4) {
    std::memcpy(pixel, &colour, 4);
  } else if (screen.bytes_per_pixel == 2) {
    uint16_t value = static_cast<uint16_t>(colour);
    std::memcpy(pixel, &value, 2);
  } else {
    *pixel = static_cast<uint8_t>(colour);
  }
}

void FillSpan(Screen& screen, int32_t x1, int32_t x2, int32_t y, uint32_t colour) {
  if (screen.bytes_per_pixel != 4) {
    for (int32_t x = x1; x <= x2; ++x) PutPixel(screen, x, y, colour);
    return;
  }
  uint8_t* pixel = screen.Row(y) + static_cast<size_t>(x1) * 4;
  for (int32_t x = x1; x <= x2; ++x, pixel += 4) std::memcpy(pixel, &colour, 4);
}

void MarkRows(Screen& screen, int32_t y1, int32_t y2) {
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max(y1, 0);
  y2 = std::min(y2, screen.height - 1);
  if (y1 > y2) return;
  std::memset(screen.row_marks.data() + y1, 1, static_cast<size_t>(y2 - y1 + 1));
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
  {
    std::lock_guard<std::mutex> lock(closing->stop_mutex);
    closing->stop.store(true);
  }
  closing->stop_requested.notify_all();
  closing->wake.Raise();
  if (closing->window_thread.joinable()) closing->window_thread.join();
  NoteClosed();
}

void AwaitWindowPasses(int32_t count, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(g_progress.mutex);
  const uint64_t target = g_progress.passes + static_cast<uint64_t>(std::max(count, 0));
  const uint64_t closes = g_progress.closes;
  g_progress.pass_finished.wait_for(lock, timeout, [target, closes] {
    return g_progress.passes >= target || g_progress.closes != closes;
  });
}

int32_t OpenScreen(int32_t width, int32_t height, int32_t depth, int32_t /*pages*/,
                   int32_t /*flags*/, int32_t /*refresh_rate*/) {
  const int32_t bytes_per_pixel = BytesPerPixel(depth);
  if (width <= 0 || height <= 0 || bytes_per_pixel == 0) return 1;
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
  try {
    screen->framebuffer.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    screen->row_marks.assign(static_cast<size_t>(height), 0);
  } catch (const std::bad_alloc&) {
    return 1;
  }
  screen->title = ProgramTitle();
  screen->serial = g_next_serial++;

  BackendList backends = g_backend_factory ? g_backend_factory() : MakeDefaultBackends();
  std::promise<bool> opened;
  std::future<bool> outcome = opened.get_future();
  screen->window_thread =
      std::thread(RunWindowThread, screen.get(), std::move(backends), std::move(opened));
  if (!outcome.get()) {
    screen->window_thread.join();
    return 1;
  }
  {
    std::lock_guard<std::mutex> lock(g_progress.mutex);
    g_progress.screen_open = true;
  }

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
  state.cursor_x = static_cast<float>((state.clip.left + state.clip.right) / 2.0);
  state.cursor_y = static_cast<float>((state.clip.top + state.clip.bottom) / 2.0);
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
  out.refresh_rate = screen->backend->RefreshRate();
  out.backend = screen->backend->Name();
  return 0;
}

// Sleeps until the window thread has handed over input that this function has not yet
// returned for: a poll loop that queries, then calls this, sees every change and otherwise
// stays asleep. Window passes without input do not wake it.
void AwaitNextPass() {
  std::unique_lock<std::mutex> lock(g_progress.mutex);
  if (!g_progress.screen_open) {
    g_progress.input_arrived.wait_for(lock, kRefreshPeriod);
    return;
  }
  const uint64_t closes = g_progress.closes;
  g_progress.input_arrived.wait_for(lock, kAwaitInputTimeout, [closes] {
    return g_progress.messages_handled != g_progress.messages_awaited ||
           g_progress.closes != closes;
  });
  g_progress.messages_awaited = g_progress.messages_handled;
}

}  // namespace layer
