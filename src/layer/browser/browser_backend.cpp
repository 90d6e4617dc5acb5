// SPDX-License-Identifier: MIT
// The browser back-end: the page's canvas is the window. Pointer, wheel, key, focus,
// visibility and size events are queued by the page's event handlers as they come, wake the
// sleeping program (Module.xmasInput, see browser_platform.cpp) and are handed over as window
// messages at the next pass; marked rows go to the canvas with one putImageData.
#include <emscripten.h>

#include <array>
#include <string>
#include <vector>

#include "browser/browser_backend.h"
#include "browser/browser_board_fit.h"
#include "browser/browser_translation.h"

namespace layer {
namespace {

// Event kinds as the page queues them.
enum BrowserEvent : int32_t {
  kNoEvent = 0,
  kPointerMove = 1,
  kPointerDown = 2,
  kPointerUp = 3,
  kWheelTurn = 4,
  kPointerLeave = 5,
  kActivity = 6,  // value: 1 when the page has focus and is visible
  kKey = 7,
  kShownAgain = 8,
  kViewport = 9,  // the page's size or pixel ratio may have changed
};

// Fields of a queued event, in the order xmas_take_event writes them.
enum Field : int32_t { kKind, kX, kY, kInside, kValue, kCharacter, kModifiers, kFieldCount };

// Makes the canvas, installs the event handlers; 0 when the page has no canvas.
EM_JS(int, xmas_open, (int width, int height), {
  if (typeof document === 'undefined') return 0;
  var canvas = document.getElementById('screen');
  if (!canvas) return 0;
  canvas.width = width;
  canvas.height = height;
  var page = {canvas: canvas, context: canvas.getContext('2d', {alpha: false}), queue: [],
              open: true, active: -1, handlers: []};
  Module['xmasPage'] = page;
  function on(target, type, handler, options) {
    target.addEventListener(type, handler, options);
    page.handlers.push([target, type, handler, options]);
  }
  function push(event) {
    if (!page.open) return;
    page.queue.push(event);
    if (Module['xmasInput']) Module['xmasInput'].wake();
  }
  // The framebuffer pixel under the pointer: CSS scaling divided out.
  function at(kind, e, value) {
    var r = canvas.getBoundingClientRect();
    var x = Math.floor((e.clientX - r.left) * canvas.width / r.width);
    var y = Math.floor((e.clientY - r.top) * canvas.height / r.height);
    var inside = x >= 0 && y >= 0 && x < canvas.width && y < canvas.height ? 1 : 0;
    return {kind: kind, x: x, y: y, inside: inside, value: value || 0};
  }
  function activity() {
    return document.hasFocus() && document.visibilityState === 'visible' ? 1 : 0;
  }
  function noteActivity(now) {
    if (now === page.active) return;
    page.active = now;
    push({kind: 6, value: now});
  }
  var buttonBits = [1, 4, 2, 8, 16];  // DOM buttons 0 left, 1 middle, 2 right, 3, 4
  on(canvas, 'pointermove', function(e) { push(at(1, e)); });
  on(canvas, 'pointerdown', function(e) {
    e.preventDefault();
    if (canvas.focus) canvas.focus();
    noteActivity(1);  // the click that activates the page counts
    push(at(1, e));
    push(at(2, e, buttonBits[e.button] || 0));
    try { canvas.setPointerCapture(e.pointerId); } catch (ignored) {}
  });
  function release(e) {
    push(at(1, e));
    push(at(3, e, buttonBits[e.button] || 0));
  }
  on(canvas, 'pointerup', release);
  on(canvas, 'pointercancel', release);
  on(canvas, 'pointerleave', function(e) { push({kind: 5, inside: 0}); });
  on(canvas, 'wheel', function(e) {
    e.preventDefault();
    if (e.deltaY !== 0) push(at(4, e, e.deltaY < 0 ? 1 : -1));
  }, {passive: false});
  on(canvas, 'contextmenu', function(e) { e.preventDefault(); });
  on(window, 'keydown', function(e) {
    if (e.isComposing) return;
    var chars = Array.from(e.key);
    push({kind: 7, code: e.code, name: e.key,
          character: chars.length === 1 ? chars[0].codePointAt(0) : 0,
          value: e.repeat ? 1 : 0,
          modifiers: (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0)});
    // Keys reach the game only; the browser keeps its own shortcuts and function keys.
    if (!e.metaKey && !e.ctrlKey && !/^F[0-9]+$/.test(e.code)) e.preventDefault();
  });
  on(window, 'focus', function() { noteActivity(activity()); });
  on(window, 'blur', function() { noteActivity(activity()); });
  on(document, 'visibilitychange', function() {
    noteActivity(activity());
    if (document.visibilityState === 'visible') push({kind: 8});
  });
  on(window, 'resize', function() { push({kind: 9}); });
  noteActivity(activity());
  push({kind: 9});
  return 1;
});

// Takes the oldest queued event into fields (and its code and key name as text); its kind,
// 0 when none is queued.
EM_JS(int, xmas_take_event, (int32_t* fields, char* code, int code_size, char* name,
                             int name_size), {
  var page = Module['xmasPage'];
  if (!page || page.queue.length === 0) return 0;
  var e = page.queue.shift();
  var values = [e.kind, e.x || 0, e.y || 0, e.inside || 0, e.value || 0, e.character || 0,
                e.modifiers || 0];
  for (var i = 0; i < values.length; i++) HEAP32[(fields >> 2) + i] = values[i];
  stringToUTF8(e.code || "", code, code_size);
  stringToUTF8(e.name || "", name, name_size);
  return e.kind;
});

// The viewport in CSS pixels, its pixel ratio and the height of what goes beneath the board:
// a PageView's four doubles.
EM_JS(void, xmas_viewport, (double* out), {
  var below = document.getElementById('below');
  HEAPF64[out >> 3] = document.documentElement.clientWidth;
  HEAPF64[(out >> 3) + 1] = window.innerHeight;
  HEAPF64[(out >> 3) + 2] = window.devicePixelRatio || 1;
  HEAPF64[(out >> 3) + 3] = below ? below.offsetHeight : 0;
});

// Shows the canvas `device_size` device pixels square, nearest-neighbour unless `smooth`,
// with the text beside it or beneath it.
EM_JS(void, xmas_show_size, (int device_size, double ratio, int beside, int smooth), {
  var page = Module['xmasPage'];
  var style = page.canvas.style;
  style.width = style.height = (device_size / ratio) + 'px';
  style.imageRendering = smooth ? 'auto' : 'pixelated';
  var main = page.canvas.parentElement;
  if (main) main.classList.toggle('beside', beside !== 0);
});

// Shows or hides the page's "Neues Spiel" button (it keeps its room either way).
EM_JS(void, xmas_show_new_game, (int shown), {
  if (typeof document === 'undefined') return;
  var button = document.getElementById('new-game');
  if (button) button.style.visibility = shown ? 'visible' : 'hidden';
});

EM_JS(void, xmas_put_rows, (const uint8_t* rgba, int width, int first_row, int rows), {
  var page = Module['xmasPage'];
  var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * rows * 4);
  page.context.putImageData(new ImageData(bytes, width, rows), 0, first_row);
});

// The end of the game: the page stops listening and shows its parting line below the canvas.
EM_JS(void, xmas_close, (), {
  var page = Module['xmasPage'];
  if (!page) return;
  page.open = false;
  page.queue.length = 0;
  page.handlers.forEach(function(h) { h[0].removeEventListener(h[1], h[2], h[3]); });
  var ended = document.getElementById('ended');
  if (ended) ended.hidden = false;
  var button = document.getElementById('new-game');
  if (button) button.style.visibility = 'visible';
});

class BrowserBackend final : public Backend {
 public:
  std::string Name() const override { return "browser"; }
  bool Open(const WindowRequest& request) override {
    width_ = request.width;
    height_ = request.height;
    return xmas_open(width_, height_) != 0;
  }
  int32_t RefreshRate() const override { return 0; }
  // The page's input (its event handlers wake the sleep of SleepUntilSignalled).
  int EventSource() const override { return 0; }
  void Present(const uint8_t* pixels, int32_t pitch, int32_t first_row,
               int32_t last_row) override {
    RgbaFromFramebuffer(pixels, pitch, width_, first_row, last_row, rgba_);
    xmas_put_rows(rgba_.data(), width_, first_row, last_row - first_row + 1);
  }
  bool Pump(const MessageSink& sink) override;
  void Close() override { xmas_close(); }
  // As of the last pointer event before the message being handed over.
  bool PointerInside() const override { return inside_; }

  void CaptureMouse() override { captured_ = true; }
  void ReleaseMouse() override { captured_ = false; }
  bool HoldsCapture() const override { return captured_; }
  // The page reports every leave of the canvas; the router passes on only one asked for.
  void RequestLeaveNotice() override {}

 private:
  void FitToViewport();

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> rgba_;
  bool inside_ = false;
  bool captured_ = false;
};

// The canvas is square (651 x 651); a framebuffer of another shape keeps its width.
void BrowserBackend::FitToViewport() {
  PageView view;
  static_assert(sizeof view == 4 * sizeof(double));
  xmas_viewport(&view.width);
  if (view.width <= 0 || view.height <= 0) return;
  const BoardFit fit = FitBoard(view, width_);
  xmas_show_size(fit.device_size, view.ratio, fit.beside ? 1 : 0, fit.smooth ? 1 : 0);
}

bool BrowserBackend::Pump(const MessageSink& sink) {
  bool repaint = false;
  std::array<int32_t, kFieldCount> fields{};
  std::array<char, 64> code{};
  std::array<char, 64> name{};
  while (true) {
    const int32_t kind = xmas_take_event(fields.data(), code.data(), code.size(), name.data(),
                                         name.size());
    if (kind == kNoEvent) break;
    WindowMessage message;
    switch (kind) {
      case kPointerMove:
      case kPointerDown:
      case kPointerUp:
      case kWheelTurn:
        inside_ = fields[kInside] != 0;
        // Positions travel as unsigned 16-bit values, as a captured pointer left of or above
        // the canvas gives them.
        message.x = fields[kX] & 0xFFFF;
        message.y = fields[kY] & 0xFFFF;
        message.kind = kind == kPointerMove   ? MessageKind::kMouseMove
                       : kind == kPointerDown ? MessageKind::kButtonDown
                       : kind == kPointerUp   ? MessageKind::kButtonUp
                                              : MessageKind::kWheel;
        message.button = fields[kValue];
        message.wheel_turn = fields[kValue];
        sink(message);
        break;
      case kPointerLeave:
        inside_ = false;
        message.kind = MessageKind::kMouseLeave;
        sink(message);
        break;
      case kActivity:
        message.kind = MessageKind::kActivate;
        message.activated = fields[kValue] != 0;
        sink(message);
        break;
      case kKey: {
        BrowserKeyEvent key;
        key.code = code.data();
        key.key_name = name.data();
        key.character = static_cast<char32_t>(fields[kCharacter]);
        key.shift = (fields[kModifiers] & 1) != 0;
        key.ctrl = (fields[kModifiers] & 2) != 0;
        key.alt = (fields[kModifiers] & 4) != 0;
        for (const WindowMessage& each : KeyMessages(key)) sink(each);
        break;
      }
      case kShownAgain:
        repaint = true;
        break;
      case kViewport:
        FitToViewport();
        break;
      default:
        break;
    }
  }
  return repaint;
}

}  // namespace

void ShowNewGameOffer(bool shown) {
  xmas_show_new_game(shown ? 1 : 0);
}

std::unique_ptr<Backend> MakeBrowserBackend() {
  return std::make_unique<BrowserBackend>();
}

BackendList MakeDefaultBackends() {
  BackendList backends;
  backends.push_back(MakeBrowserBackend());
  return backends;
}

}  // namespace layer
