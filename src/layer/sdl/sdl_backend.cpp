// SPDX-License-Identifier: MIT
#include "sdl/sdl_backend.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "backends/window_icon.h"
#include "screen/window_scale.h"
#include "sdl/sdl_event_translation.h"

namespace layer {
namespace {

// Whether a Wayland display can be reached at all. libwayland reports a missing runtime
// directory on stderr, so where there is none Wayland is not asked.
bool WaylandPossible() {
  const char* socket = std::getenv("WAYLAND_SOCKET");
  const char* display = std::getenv("WAYLAND_DISPLAY");
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  return (socket != nullptr && *socket != '\0') || (display != nullptr && display[0] == '/') ||
         (runtime_dir != nullptr && runtime_dir[0] == '/');
}

// Drivers that show nothing on a screen; SDL takes them when nothing else works.
bool IsDisplayless(const char* driver) {
  for (const char* name : {"offscreen", "dummy", "evdev"}) {
    if (SDL_strcasecmp(driver, name) == 0) return true;
  }
  return false;
}

// SDL's own choice of driver: the one named in SDL_VIDEODRIVER if any ("" then), else the
// comma-separated list of its other display drivers, after X11 and Wayland were tried on
// their own. Nothing when no driver is left to try.
std::optional<std::string> DefaultDriverChoice() {
  const char* named = std::getenv("SDL_VIDEODRIVER");
  if (named != nullptr && *named != '\0') return std::string();
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = SDL_GetVideoDriver(i);
    if (driver == nullptr || IsDisplayless(driver) || SDL_strcasecmp(driver, "x11") == 0 ||
        SDL_strcasecmp(driver, "wayland") == 0) {
      continue;
    }
    if (!drivers.empty()) drivers += ',';
    drivers += driver;
  }
  if (drivers.empty()) return std::nullopt;
  return drivers;
}

// The hints every window of this program is made with. They must be in place before SDL's
// video subsystem starts.
void SetHints(const std::string& video_driver, const std::string& drivers) {
  // Let the screen saver run and leave the compositor alone: this is an ordinary window.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // The close button becomes a key for the game; it must not end anything by itself.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Ctrl+C in a terminal keeps ending the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The window's X11 class and Wayland app id are the desktop entry's id (its StartupWMClass
  // says the same), so that docks and task bars show the installed entry's name and icon for
  // it. SDL reads both from the environment alone, where a value the person set stays.
  setenv("SDL_VIDEO_X11_WMCLASS", XMAS_APP_ID, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", XMAS_APP_ID, 0);
  // On X11 the unaccelerated window surface puts each changed band with MIT-SHM, which costs
  // a fraction of the CPU time of a texture upload per frame.
  if (video_driver == "x11") {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  } else {
    SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
  }
  if (drivers.empty()) {
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
  } else {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
  }
}

// The desktop's own scale as far as it concerns this window, 1 when unknown. On X11 that is
// GDK_SCALE, which desktops scaled to 200% set; a Wayland compositor enlarges the window by
// its output scale itself, so there the window is made at its own size.
int32_t DesktopScale() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || SDL_strcasecmp(driver, "x11") != 0) return 1;
  const char* gdk_scale = std::getenv("GDK_SCALE");
  if (gdk_scale == nullptr) return 1;
  char* end = nullptr;
  const long scale = std::strtol(gdk_scale, &end, 10);
  return end != gdk_scale && *end == '\0' && scale >= 1 && scale <= 8 ? static_cast<int32_t>(scale)
                                                                      : 1;
}

// Gives the window the program's icon (title bar, task switcher; on X11 _NET_WM_ICON). SDL
// keeps a copy. Wayland has no such request: there the app id names the icon.
void SetWindowIcon(SDL_Window* window) {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(kWindowIconPixels), kWindowIconSize, kWindowIconSize, 32,
      kWindowIconSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

// The display that holds the mouse pointer, 0 when that cannot be told.
int PointerDisplay() {
  SDL_Point pointer{0, 0};
  SDL_GetGlobalMouseState(&pointer.x, &pointer.y);
  const int display = SDL_GetPointDisplayIndex(&pointer);
  return display < 0 ? 0 : display;
}

// The socket of the window's X server connection, -1 when the window is not an X11 one.
int X11Connection(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11 ||
      info.info.x11.display == nullptr) {
    return -1;
  }
  return ConnectionNumber(info.info.x11.display);
}

class SdlBackend final : public Backend {
 public:
  explicit SdlBackend(std::string video_driver)
      : video_driver_(std::move(video_driver)),
        name_(video_driver_.empty() ? "sdl2" : "sdl2-" + video_driver_) {}
  ~SdlBackend() override = default;  // Close has released SDL on the window thread

  std::string Name() const override { return name_; }
  bool Open(const WindowRequest& request) override;
  int32_t RefreshRate() const override { return refresh_rate_hz_; }
  void Present(const uint8_t* pixels, int32_t pitch, int32_t first_row, int32_t last_row) override;
  bool Pump(const MessageSink& sink) override;
  void Close() override;

  void CaptureMouse() override { captured_ = SDL_CaptureMouse(SDL_TRUE) == 0; }
  void ReleaseMouse() override {
    SDL_CaptureMouse(SDL_FALSE);
    captured_ = false;
  }
  bool HoldsCapture() const override { return captured_; }
  // SDL reports every leave of the window; the router passes on only one that was asked for.
  void RequestLeaveNotice() override {}
  int EventSource() const override { return event_source_; }
  bool PointerInside() const override;
  int32_t Scale() const override { return scale_; }

 private:
  void CopyBand(SDL_Surface& surface, const uint8_t* pixels, int32_t pitch, int32_t first_row,
                int32_t rows, int32_t columns);
  void CopyEnlargedBand(SDL_Surface& surface, const uint8_t* source, int32_t pitch,
                        int32_t first_row, int32_t rows, int32_t columns);

  const std::string video_driver_;
  std::string name_;
  bool sdl_started_ = false;
  SDL_Window* window_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t scale_ = 1;  // window pixels per framebuffer pixel, along each axis
  int32_t refresh_rate_hz_ = 0;
  int event_source_ = -1;  // the X server connection's socket, -1 on other window systems
  bool captured_ = false;
  SdlEventTranslator translator_;
  std::vector<uint32_t> band_;  // enlarged rows, or rows with the top byte set for surfaces
                                // that are not xRGB
};

bool SdlBackend::Open(const WindowRequest& request) {
  if (video_driver_ == "wayland" && !WaylandPossible()) return false;
  std::string drivers = video_driver_;
  if (video_driver_.empty()) {
    const std::optional<std::string> choice = DefaultDriverChoice();
    if (!choice) return false;
    drivers = *choice;
  }
  SetHints(video_driver_, drivers);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    SDL_Quit();
    return false;
  }
  sdl_started_ = true;
  const int display = PointerDisplay();
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = SDL_Rect{0, 0, 0, 0};
  scale_ = ChooseWindowScale(DesktopScale(), usable.w, usable.h, request.width, request.height);
  window_ = SDL_CreateWindow(request.title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                             SDL_WINDOWPOS_CENTERED_DISPLAY(display), request.width * scale_,
                             request.height * scale_, SDL_WINDOW_SHOWN);
  if (window_ == nullptr || SDL_GetWindowSurface(window_) == nullptr) {
    Close();
    return false;
  }
  width_ = request.width;
  height_ = request.height;
  SetWindowIcon(window_);
  SDL_RaiseWindow(window_);
  SDL_StartTextInput();

  SDL_DisplayMode mode;
  const int window_display = SDL_GetWindowDisplayIndex(window_);
  if (SDL_GetCurrentDisplayMode(window_display < 0 ? 0 : window_display, &mode) == 0) {
    refresh_rate_hz_ = mode.refresh_rate;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr) name_ = std::string("sdl2-") + driver;
  event_source_ = X11Connection(window_);
  translator_ = SdlEventTranslator{};
  captured_ = false;
  return true;
}

void SdlBackend::Close() {
  if (window_ != nullptr) {
    SDL_DestroyWindow(window_);
    window_ = nullptr;
  }
  if (sdl_started_) {
    SDL_Quit();
    sdl_started_ = false;
  }
  event_source_ = -1;
  captured_ = false;
}

// Whether the pointer is over the drawing area now, after the events SDL_PumpEvents took in
// (the same for each message of a pump). SDL's own pointer focus and position
// are used rather than its desktop position: on X11 that one is cached and refreshed only by
// raw input events, which synthetic input (XTest) does not make, so it can lag behind.
// Outside a captured window SDL keeps the focus and reports positions beyond the edges.
bool SdlBackend::PointerInside() const {
  int x = 0;
  int y = 0;
  SDL_GetMouseState(&x, &y);
  return SDL_GetMouseFocus() == window_ && x >= 0 && x < width_ * scale_ && y >= 0 &&
         y < height_ * scale_;
}

void SdlBackend::Present(const uint8_t* pixels, int32_t pitch, int32_t first_row,
                         int32_t last_row) {
  if (window_ == nullptr) return;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) return;
  first_row = std::max(first_row, 0);
  last_row = std::min({last_row, height_ - 1, surface->h / scale_ - 1});
  const int32_t columns = std::min(width_, surface->w / scale_);
  if (first_row > last_row || columns <= 0) return;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  const int32_t rows = last_row - first_row + 1;
  CopyBand(*surface, pixels, pitch, first_row, rows, columns);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  const SDL_Rect band{0, first_row * scale_, columns * scale_, rows * scale_};
  SDL_UpdateWindowSurfaceRects(window_, &band, 1);
}

void SdlBackend::CopyBand(SDL_Surface& surface, const uint8_t* pixels, int32_t pitch,
                          int32_t first_row, int32_t rows, int32_t columns) {
  auto* target = static_cast<uint8_t*>(surface.pixels) +
                 static_cast<size_t>(first_row) * static_cast<size_t>(surface.pitch);
  const uint8_t* source = pixels + static_cast<size_t>(first_row) * static_cast<size_t>(pitch);
  const size_t row_bytes = static_cast<size_t>(columns) * 4;
  if (scale_ > 1) {
    CopyEnlargedBand(surface, source, pitch, first_row, rows, columns);
    return;
  }
  if (surface.format->format == SDL_PIXELFORMAT_RGB888) {
    // The surface ignores the top byte just as the window must: rows copy straight across.
    for (int32_t r = 0; r < rows; ++r) {
      std::memcpy(target + static_cast<size_t>(r) * surface.pitch,
                  source + static_cast<size_t>(r) * pitch, row_bytes);
    }
    return;
  }
  // Any other surface gets opaque pixels in its own format, so that a pixel 0x00000000 shows
  // black and not see-through.
  band_.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
  for (int32_t r = 0; r < rows; ++r) {
    uint32_t* out = band_.data() + static_cast<size_t>(r) * columns;
    std::memcpy(out, source + static_cast<size_t>(r) * pitch, row_bytes);
    for (int32_t c = 0; c < columns; ++c) out[c] |= 0xFF000000u;
  }
  SDL_ConvertPixels(columns, rows, SDL_PIXELFORMAT_ARGB8888, band_.data(), columns * 4,
                    surface.format->format, target, surface.pitch);
}

// Each framebuffer pixel becomes a square of scale x scale window pixels (nearest neighbour),
// one framebuffer row at a time.
void SdlBackend::CopyEnlargedBand(SDL_Surface& surface, const uint8_t* source, int32_t pitch,
                                  int32_t first_row, int32_t rows, int32_t columns) {
  const int32_t wide = columns * scale_;
  const bool xrgb = surface.format->format == SDL_PIXELFORMAT_RGB888;
  const uint32_t opaque = xrgb ? 0u : 0xFF000000u;
  band_.resize(static_cast<size_t>(wide));
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t* in = source + static_cast<size_t>(r) * pitch;
    for (int32_t c = 0; c < columns; ++c) {
      uint32_t pixel = 0;
      std::memcpy(&pixel, in + static_cast<size_t>(c) * 4, 4);
      std::fill_n(band_.data() + static_cast<size_t>(c) * scale_, scale_, pixel | opaque);
    }
    for (int32_t copy = 0; copy < scale_; ++copy) {
      const int32_t target_row = (first_row + r) * scale_ + copy;
      auto* target = static_cast<uint8_t*>(surface.pixels) +
                     static_cast<size_t>(target_row) * static_cast<size_t>(surface.pitch);
      if (xrgb) {
        std::memcpy(target, band_.data(), static_cast<size_t>(wide) * 4);
      } else {
        SDL_ConvertPixels(wide, 1, SDL_PIXELFORMAT_ARGB8888, band_.data(), wide * 4,
                          surface.format->format, target, surface.pitch);
      }
    }
  }
}

bool SdlBackend::Pump(const MessageSink& sink) {
  if (window_ == nullptr) return false;
  bool repaint = false;
  SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
    if (translator_.Translate(event, sink)) repaint = true;
  }
  return repaint;
}

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend(std::string video_driver) {
  return std::make_unique<SdlBackend>(std::move(video_driver));
}

}  // namespace layer
