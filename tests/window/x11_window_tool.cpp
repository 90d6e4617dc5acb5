// SPDX-License-Identifier: MIT
// A small X11 client for the window tests: asks a window to close the way a window manager's
// close button does, reads its pixels, and times how long a click takes to show.
//
//   x11_window_tool close WINDOW
//   x11_window_tool pixel WINDOW X Y                      prints the pixel as rrggbb
//   x11_window_tool waitpixel WINDOW X Y [!]RRGGBB MS     waits until the pixel is (or with
//                                                         '!' is no longer) the colour
//   x11_window_tool clickwait WINDOW X Y RRGGBB MS        clicks the left button at (X, Y) and
//                                                         waits for the pixel to turn RRGGBB
//   x11_window_tool burst WINDOW X Y                      in 0.7 s: 2,000 pointer moves, 200
//                                                         right clicks and 100 left clicks,
//                                                         the left ones at (X, Y)
//   x11_window_tool shot WINDOW FILE                      writes the window as a PPM picture
//   x11_window_tool samescaled WINDOW FILE N              whether every pixel of the PPM
//                                                         picture FILE (from shot) fills an
//                                                         N x N square of WINDOW
//
// waitpixel and clickwait print the milliseconds waited. Exit status: 0 done, 1 timed out or
// the window went away, 2 bad use.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#ifdef XMAS_HAVE_XTEST
#include <X11/extensions/XTest.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

bool g_x_error = false;

int RecordError(Display*, XErrorEvent*) {
  g_x_error = true;
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: x11_window_tool close WINDOW | pixel WINDOW X Y | burst WINDOW X Y |\n"
               "       waitpixel WINDOW X Y [!]RRGGBB MS | clickwait WINDOW X Y RRGGBB MS\n");
  return 2;
}

// Scales the bits of value under mask to 8 bits.
unsigned long Channel(unsigned long value, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long bits = mask >> shift;
  return ((value & mask) >> shift) * 255 / bits;
}

// The window's pixel at (x, y) as 0xRRGGBB, nothing when it cannot be read.
std::optional<unsigned long> ReadPixel(Display* display, Window window, const Visual* visual, int x,
                                       int y) {
  g_x_error = false;
  XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
  XSync(display, False);
  if (image == nullptr || g_x_error) {
    if (image != nullptr) XDestroyImage(image);
    return std::nullopt;
  }
  const unsigned long value = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return (Channel(value, visual->red_mask) << 16) | (Channel(value, visual->green_mask) << 8) |
         Channel(value, visual->blue_mask);
}

int SendClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  g_x_error = false;
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return g_x_error ? 1 : 0;
}

// The whole window's pixels as rrggbb, row after row; nothing when it cannot be read.
std::optional<std::vector<unsigned long>> ReadWindow(Display* display, Window window, int& width,
                                                     int& height) {
  XWindowAttributes attributes;
  g_x_error = false;
  if (XGetWindowAttributes(display, window, &attributes) == 0 || g_x_error) return std::nullopt;
  width = attributes.width;
  height = attributes.height;
  XImage* image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
  XSync(display, False);
  if (image == nullptr || g_x_error) {
    if (image != nullptr) XDestroyImage(image);
    return std::nullopt;
  }
  std::vector<unsigned long> pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long value = XGetPixel(image, x, y);
      pixels.push_back((Channel(value, attributes.visual->red_mask) << 16) |
                       (Channel(value, attributes.visual->green_mask) << 8) |
                       Channel(value, attributes.visual->blue_mask));
    }
  }
  XDestroyImage(image);
  return pixels;
}

// A picture written by Shot.
std::optional<std::vector<unsigned long>> ReadShot(const char* file_name, int& width, int& height) {
  FILE* file = std::fopen(file_name, "rb");
  if (file == nullptr) return std::nullopt;
  std::vector<unsigned long> pixels;
  if (std::fscanf(file, "P6 %d %d 255", &width, &height) == 2 && std::fgetc(file) == '\n' &&
      width > 0 && height > 0) {
    unsigned char rgb[3];
    while (pixels.size() < static_cast<size_t>(width) * height &&
           std::fread(rgb, 1, 3, file) == 3) {
      pixels.push_back((static_cast<unsigned long>(rgb[0]) << 16) | (rgb[1] << 8) | rgb[2]);
    }
  }
  std::fclose(file);
  if (pixels.size() != static_cast<size_t>(width) * height || pixels.empty()) return std::nullopt;
  return pixels;
}

int SameScaled(Display* display, Window enlarged, const char* file_name, int n) {
  int width = 0, height = 0, big_width = 0, big_height = 0;
  const auto small = ReadShot(file_name, width, height);
  const auto big = ReadWindow(display, enlarged, big_width, big_height);
  if (!small || !big || n < 1) return 2;
  if (big_width != width * n || big_height != height * n) {
    std::printf("sizes %dx%d and %dx%d\n", width, height, big_width, big_height);
    return 1;
  }
  for (int y = 0; y < big_height; ++y) {
    for (int x = 0; x < big_width; ++x) {
      const unsigned long want = (*small)[static_cast<size_t>(y / n) * width + x / n];
      const unsigned long got = (*big)[static_cast<size_t>(y) * big_width + x];
      if (want != got) {
        std::printf("enlarged (%d, %d) is %06lx, (%d, %d) is %06lx\n", x, y, got, x / n, y / n,
                    want);
        return 1;
      }
    }
  }
  return 0;
}

int Shot(Display* display, Window window, const char* file_name) {
  int width = 0, height = 0;
  const auto pixels = ReadWindow(display, window, width, height);
  if (!pixels) return 1;
  FILE* file = std::fopen(file_name, "wb");
  if (file == nullptr) return 2;
  std::fprintf(file, "P6\n%d %d\n255\n", width, height);
  for (const unsigned long pixel : *pixels) {
    const unsigned char rgb[3] = {static_cast<unsigned char>(pixel >> 16),
                                  static_cast<unsigned char>(pixel >> 8),
                                  static_cast<unsigned char>(pixel)};
    std::fwrite(rgb, 1, 3, file);
  }
  return std::fclose(file) == 0 ? 0 : 2;
}

#ifdef XMAS_HAVE_XTEST
// The screen position of the window's pixel (x, y).
std::pair<int, int> RootPosition(Display* display, Window window, int x, int y) {
  int root_x = 0;
  int root_y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &root_x, &root_y,
                        &child);
  return {root_x, root_y};
}
#endif

bool Click(Display* display, Window window, int x, int y) {
#ifdef XMAS_HAVE_XTEST
  const auto [root_x, root_y] = RootPosition(display, window, x, y);
  XTestFakeMotionEvent(display, -1, root_x, root_y, CurrentTime);
  XSync(display, False);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XFlush(display);
  return true;
#else
  (void)display;
  (void)window;
  (void)x;
  (void)y;
  std::fprintf(stderr, "x11_window_tool: built without the XTest extension\n");
  return false;
#endif
}

// A burst of input as a restless person (or a stuck mouse) makes it: moves all over the
// window with right clicks among them, and left clicks at (x, y).
bool Burst(Display* display, Window window, int x, int y) {
#ifdef XMAS_HAVE_XTEST
  const auto root_of = [&](int wx, int wy) { return RootPosition(display, window, wx, wy); };
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 2000; ++i) {
    const auto [mx, my] = root_of(20 + (i * 37) % 600, 20 + (i * 53) % 600);
    XTestFakeMotionEvent(display, -1, mx, my, CurrentTime);
    if (i % 10 == 0) {
      XTestFakeButtonEvent(display, 3, True, CurrentTime);
      XTestFakeButtonEvent(display, 3, False, CurrentTime);
    }
    if (i % 20 == 0) {
      const auto [lx, ly] = root_of(x, y);
      XTestFakeMotionEvent(display, -1, lx, ly, CurrentTime);
      XTestFakeButtonEvent(display, 1, True, CurrentTime);
      XTestFakeButtonEvent(display, 1, False, CurrentTime);
    }
    XFlush(display);
    std::this_thread::sleep_until(start + std::chrono::microseconds(350 * (i + 1)));
  }
  XSync(display, False);
  return true;
#else
  (void)display;
  (void)window;
  (void)x;
  (void)y;
  std::fprintf(stderr, "x11_window_tool: built without the XTest extension\n");
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "x11_window_tool: cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(RecordError);

  const Window window = std::strtoul(argv[2], nullptr, 0);
  if (command == "close" && argc == 3) return SendClose(display, window);
  if (command == "shot" && argc == 4) return Shot(display, window, argv[3]);
  if (command == "samescaled" && argc == 5) {
    return SameScaled(display, window, argv[3], std::atoi(argv[4]));
  }

  XWindowAttributes attributes;
  g_x_error = false;
  if (XGetWindowAttributes(display, window, &attributes) == 0 || g_x_error) return 1;
  if (argc < 5) return Usage();
  const int x = std::atoi(argv[3]);
  const int y = std::atoi(argv[4]);

  if (command == "burst" && argc == 5) return Burst(display, window, x, y) ? 0 : 2;

  if (command == "pixel" && argc == 5) {
    const auto pixel = ReadPixel(display, window, attributes.visual, x, y);
    if (!pixel) return 1;
    std::printf("%06lx\n", *pixel);
    return 0;
  }

  const bool click = command == "clickwait";
  if ((command != "waitpixel" && !click) || argc != 7) return Usage();
  const char* colour_text = argv[5];
  const bool until_different = !click && colour_text[0] == '!';
  if (until_different) ++colour_text;
  const unsigned long colour = std::strtoul(colour_text, nullptr, 16);
  const auto timeout = std::chrono::milliseconds(std::atoi(argv[6]));

  if (click && !Click(display, window, x, y)) return 2;
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < timeout) {
    const auto pixel = ReadPixel(display, window, attributes.visual, x, y);
    if (!pixel) return 1;
    if ((*pixel == colour) != until_different) {
      const std::chrono::duration<double, std::milli> waited =
          std::chrono::steady_clock::now() - start;
      std::printf("%.1f\n", waited.count());
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return 1;
}
