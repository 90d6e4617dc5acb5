// SPDX-License-Identifier: MIT
// The Win32 back-end: a fixed-size window owned by the window thread, enlarged by the whole
// scale of the monitor it is on, rows put with SetDIBitsToDevice (StretchDIBits when the
// window is scaled), and the window procedure turning messages into window messages for the
// input state.
#include "win32/win32_backend.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "input/cp437.h"
#include "screen/window_scale.h"
#include "win32/win32_error_output.h"
#include "win32/win32_icon_resource.h"
#include "win32/win32_message_translation.h"
#include "win32/win32_text.h"

namespace layer {
namespace {

constexpr wchar_t kClassName[] = L"xmas-tictactoe-window";
// A title bar with the close and minimise buttons; no sizing border, no maximise button.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
// A message number in the application range that nothing posts.
constexpr UINT kNoMessage = 0xBFFF;

// The code page 437 character for a UTF-16 unit; 0 for none.
uint8_t Cp437FromUnit(wchar_t unit) {
  if (unit == 0 || (unit >= 0xD800 && unit <= 0xDFFF)) return 0;
  return Cp437FromUnicode(static_cast<char32_t>(unit));
}

// The program's icon from the executable's resources at the system's size for a large or a
// small icon, or nothing when the executable has none (the test programs). Shared: the
// system keeps it for the life of the process.
HICON ProgramIcon(HINSTANCE instance, int width_metric, int height_metric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(XMAS_ICON_RESOURCE), IMAGE_ICON,
                                       GetSystemMetrics(width_metric),
                                       GetSystemMetrics(height_metric), LR_SHARED));
}

// The monitor's own pixels per inch (Windows 8.1 and later, whose GetDpiForMonitor the
// manifest's per-monitor awareness makes mean real pixels), else the desktop's.
int MonitorDpi(HMONITOR monitor, HDC screen) {
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  UINT dpi_x = 0;
  UINT dpi_y = 0;
  if (HMODULE shcore = LoadLibraryW(L"shcore.dll")) {
    const auto get_dpi = reinterpret_cast<GetDpiForMonitorFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(shcore, "GetDpiForMonitor")));
    if (get_dpi == nullptr || get_dpi(monitor, kEffectiveDpi, &dpi_x, &dpi_y) != S_OK) dpi_x = 0;
    FreeLibrary(shcore);
  }
  if (dpi_x > 0) return static_cast<int>(dpi_x);
  return screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
}

// A monitor's work area, or the primary screen when it cannot be read.
RECT WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoW(monitor, &info)) area = info.rcWork;
  return area;
}

class Win32Backend final : public Backend {
 public:
  ~Win32Backend() override = default;  // Close has destroyed the window on the window thread

  std::string Name() const override { return "win32"; }
  bool Open(const WindowRequest& request) override;
  int32_t RefreshRate() const override { return refresh_rate_hz_; }
  void Present(const uint8_t* pixels, int32_t pitch, int32_t first_row, int32_t last_row) override;
  bool Pump(const MessageSink& sink) override;
  void Close() override;
  int EventSource() const override { return window_ != nullptr ? 0 : -1; }  // the queue
  bool HoldsMessages() const override { return !early_.empty(); }
  bool PointerInside() const override;
  int32_t Scale() const override { return scale_; }

  void CaptureMouse() override { SetCapture(window_); }
  void ReleaseMouse() override { ReleaseCapture(); }
  bool HoldsCapture() const override { return window_ != nullptr && GetCapture() == window_; }
  void RequestLeaveNotice() override {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
    TrackMouseEvent(&track);
  }

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  Win32KeyState ReadKeys(WPARAM virtual_key, LPARAM lparam) const;
  bool CursorInClient() const;
  void Deliver(const WindowMessage& message);
  // The scale on a monitor with this work area and pixels per inch: the monitor's whole
  // scale (dpi / 96), lowered until the window, frame and all, fits the area.
  int32_t ScaleFor(const RECT& area, int dpi) const;
  // The window's outer size for a drawing area of width_ x height_ times scale_.
  SIZE OuterSize() const;
  // The frame is sized with the desktop's metrics; on a monitor of other pixels per inch the
  // title bar differs, and the drawing area is brought to its exact size here.
  void FitDrawingArea(SIZE outer);
  // Moved to a monitor of other pixels per inch: its scale, at the place the system suggests.
  void ChangeDpi(int dpi, const RECT& suggested);

  HWND window_ = nullptr;
  bool class_registered_ = false;
  bool timer_period_set_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t scale_ = 1;
  int32_t refresh_rate_hz_ = 0;
  bool repaint_ = false;
  const MessageSink* sink_ = nullptr;  // set while Pump runs
  // Messages sent to the window outside Pump (while it is being made and shown), for the
  // next pass, each with whether the pointer was inside as it came; at most kMostEarly.
  std::vector<WindowMessage> early_;
  static constexpr size_t kMostEarly = 64;
  std::optional<bool> early_inside_;  // set while Pump hands over an early message
};

bool Win32Backend::Open(const WindowRequest& request) {
  // A window that cannot be made is reported on stderr, which a program started from
  // Explorer does not have.
  KeepErrorOutputWithoutConsole();
  // Pixel-exact: the manifest makes the program aware of each monitor's pixels per inch, so
  // the window reports and gets real pixels; the scale is chosen below.
  // The refresh period (10 ms) and the layer's pauses need a finer timer than the default.
  timer_period_set_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  // The game's icon for the title bar, the task bar and Alt+Tab.
  window_class.hIcon = ProgramIcon(instance, SM_CXICON, SM_CYICON);
  window_class.hIconSm = ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
  if (window_class.hIcon == nullptr) {
    window_class.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  }
  window_class.lpszClassName = kClassName;
  class_registered_ = RegisterClassExW(&window_class) != 0;
  if (!class_registered_ && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    Close();
    return false;
  }

  // The monitor that holds the pointer: its work area and its pixels per inch.
  POINT pointer{0, 0};
  GetCursorPos(&pointer);
  HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
  const RECT area = WorkArea(monitor);
  HDC screen = GetDC(nullptr);
  const int dpi = MonitorDpi(monitor, screen);
  refresh_rate_hz_ = screen != nullptr ? GetDeviceCaps(screen, VREFRESH) : 0;
  if (refresh_rate_hz_ <= 1) refresh_rate_hz_ = 0;  // 0 and 1 mean the hardware's default
  if (screen != nullptr) ReleaseDC(nullptr, screen);

  width_ = request.width;
  height_ = request.height;
  scale_ = ScaleFor(area, dpi);
  const SIZE outer = OuterSize();
  const int32_t x = area.left + (area.right - area.left - outer.cx) / 2;
  const int32_t y = std::max<int32_t>(area.top + (area.bottom - area.top - outer.cy) / 2,
                                      area.top);

  window_ = CreateWindowExW(kExStyle, kClassName, WideFromUtf8(request.title).c_str(), kStyle, x,
                            y, outer.cx, outer.cy, nullptr, nullptr, instance, this);
  if (window_ == nullptr) {
    Close();
    return false;
  }
  FitDrawingArea(outer);
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  UpdateWindow(window_);
  return true;
}

int32_t Win32Backend::ScaleFor(const RECT& area, int dpi) const {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int32_t frame_width = frame.right - frame.left;
  const int32_t frame_height = frame.bottom - frame.top;
  return ChooseWindowScale(std::max(dpi / 96, 1), area.right - area.left - frame_width,
                           area.bottom - area.top - frame_height, width_, height_);
}

SIZE Win32Backend::OuterSize() const {
  RECT bounds{0, 0, width_ * scale_, height_ * scale_};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void Win32Backend::FitDrawingArea(SIZE outer) {
  RECT client{0, 0, 0, 0};
  if (GetClientRect(window_, &client)) {
    const int32_t missing_width = width_ * scale_ - (client.right - client.left);
    const int32_t missing_height = height_ * scale_ - (client.bottom - client.top);
    if (missing_width != 0 || missing_height != 0) {
      SetWindowPos(window_, nullptr, 0, 0, outer.cx + missing_width, outer.cy + missing_height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

void Win32Backend::ChangeDpi(int dpi, const RECT& suggested) {
  // The suggested rectangle names the monitor and the place; the size follows from the
  // scale, as at start-up, so that the drawing area stays whole pixels of the framebuffer.
  scale_ = ScaleFor(WorkArea(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST)), dpi);
  const SIZE outer = OuterSize();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  FitDrawingArea(outer);
  InvalidateRect(window_, nullptr, FALSE);
  repaint_ = true;  // every row again, at the new scale
}

void Win32Backend::Close() {
  if (window_ != nullptr) {
    if (GetCapture() == window_) ReleaseCapture();
    DestroyWindow(window_);
    window_ = nullptr;
  }
  if (class_registered_) {
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
    class_registered_ = false;
  }
  if (timer_period_set_) {
    timeEndPeriod(1);
    timer_period_set_ = false;
  }
  early_.clear();
}

void Win32Backend::Present(const uint8_t* pixels, int32_t pitch, int32_t first_row,
                           int32_t last_row) {
  if (window_ == nullptr) return;
  first_row = std::max(first_row, 0);
  last_row = std::min(last_row, height_ - 1);
  if (first_row > last_row) return;
  const int32_t rows = last_row - first_row + 1;
  // The band as a top-down 32-bit bitmap: memory order B, G, R, unused, which is 0x00RRGGBB
  // as stored; the top byte is never shown.
  BITMAPINFO bitmap{};
  bitmap.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bitmap.bmiHeader.biWidth = pitch / 4;
  bitmap.bmiHeader.biHeight = -rows;
  bitmap.bmiHeader.biPlanes = 1;
  bitmap.bmiHeader.biBitCount = 32;
  bitmap.bmiHeader.biCompression = BI_RGB;
  const uint8_t* band = pixels + static_cast<size_t>(first_row) * static_cast<size_t>(pitch);
  HDC context = GetDC(window_);
  if (context == nullptr) return;
  if (scale_ == 1) {
    SetDIBitsToDevice(context, 0, first_row, static_cast<DWORD>(width_),
                      static_cast<DWORD>(rows), 0, 0, 0, static_cast<UINT>(rows), band, &bitmap,
                      DIB_RGB_COLORS);
  } else {
    SetStretchBltMode(context, COLORONCOLOR);  // nearest neighbour: whole pixels, no blur
    StretchDIBits(context, 0, first_row * scale_, width_ * scale_, rows * scale_, 0, 0, width_,
                  rows, band, &bitmap, DIB_RGB_COLORS, SRCCOPY);
  }
  ReleaseDC(window_, context);
  // Where the window system keeps window contents in a surface of its own and sends it on
  // when the thread next finds its queue empty (Wine), a look at a message range nothing uses
  // sends it now without taking any message out of order.
  MSG none;
  PeekMessageW(&none, nullptr, kNoMessage, kNoMessage, PM_NOREMOVE | PM_NOYIELD);
}

bool Win32Backend::Pump(const MessageSink& sink) {
  if (window_ == nullptr) return false;
  sink_ = &sink;
  std::vector<WindowMessage> early;
  early.swap(early_);
  for (const WindowMessage& message : early) {
    early_inside_ = message.pointer_inside;
    sink(message);
  }
  early_inside_.reset();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);  // key downs also post their characters
    DispatchMessageW(&message);
  }
  sink_ = nullptr;
  const bool repaint = repaint_;
  repaint_ = false;
  return repaint;
}

// A message is handed over as the window procedure gets it, so the pointer's place now is its
// place as the message came; an early message keeps the place it came with.
bool Win32Backend::PointerInside() const {
  return early_inside_ ? *early_inside_ : CursorInClient();
}

// Whether the pointer is over the drawing area now, from its desktop position.
bool Win32Backend::CursorInClient() const {
  POINT pointer{0, 0};
  RECT client{0, 0, 0, 0};
  if (!GetCursorPos(&pointer) || !GetClientRect(window_, &client)) return false;
  MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return PtInRect(&client, pointer) != FALSE;
}

void Win32Backend::Deliver(const WindowMessage& message) {
  if (sink_ == nullptr) {
    WindowMessage early = message;
    early.pointer_inside = CursorInClient();
    if (early_.size() < kMostEarly) early_.push_back(early);
    return;
  }
  (*sink_)(message);
}

// The key state for a key down: what the key types now and unmodified, and the modifiers.
Win32KeyState Win32Backend::ReadKeys(WPARAM virtual_key, LPARAM lparam) const {
  Win32KeyState keys;
  BYTE state[256] = {};
  if (!GetKeyboardState(state)) return keys;
  const UINT scan = static_cast<UINT>((lparam >> 16) & 0xFF);
  wchar_t typed[4] = {};
  // Flag 4: the keyboard's dead-key state is left as it is for TranslateMessage's own use.
  if (ToUnicode(static_cast<UINT>(virtual_key), scan, state, typed, 4, 4) == 1) {
    keys.typed = Cp437FromUnit(typed[0]);
  }
  const UINT own = MapVirtualKeyW(static_cast<UINT>(virtual_key), MAPVK_VK_TO_CHAR) & 0x7FFF;
  keys.own = Cp437FromUnit(static_cast<wchar_t>(own));
  keys.shift = (state[VK_SHIFT] & 0x80) != 0;
  keys.ctrl = (state[VK_CONTROL] & 0x80) != 0;
  keys.alt = (state[VK_MENU] & 0x80) != 0;
  return keys;
}

LRESULT Win32Backend::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window_, &paint);
      EndPaint(window_, &paint);
      repaint_ = true;  // the window thread presents every row after this pump
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the whole area is painted from the framebuffer
    case WM_DPICHANGED:
      ChangeDpi(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      break;
  }
  Win32KeyState keys;
  const bool key_down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (key_down) keys = ReadKeys(wparam, lparam);
  if (const auto translated =
          TranslateWin32Message(message, static_cast<uint64_t>(wparam),
                                static_cast<int64_t>(lparam), keys)) {
    Deliver(*translated);
  }
  if (message == WM_CLOSE) return 0;  // the close button is a key; the window stays
  if ((key_down || message == WM_KEYUP || message == WM_SYSKEYUP) &&
      (wparam == VK_F10 || wparam == VK_MENU)) {
    return 0;  // no menu mode for F10 or Alt
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK Win32Backend::WindowProcedure(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* backend = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (backend == nullptr || backend->window_ != window) {
    // Messages during CreateWindowEx, before window_ is known.
    if (backend != nullptr && backend->window_ == nullptr) backend->window_ = window;
    else return DefWindowProcW(window, message, wparam, lparam);
  }
  return backend->Handle(message, wparam, lparam);
}

}  // namespace

std::unique_ptr<Backend> MakeWin32Backend() {
  return std::make_unique<Win32Backend>();
}

}  // namespace layer
