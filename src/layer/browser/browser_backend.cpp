// SPDX-License-Identifier: MIT
// The browser back-end: the page's canvas is the window. Pointer, wheel, key, focus,
// visibility and size events are recorded by the page's event handlers as they come (the DOM
// event's type and its raw numbers), wake the sleeping program (Module.xmasInput, see
// browser_platform.cpp) and are translated into window messages at the next pass
// (PageEventTranslator); marked rows go to the canvas with one putImageData.
#include <emscripten.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "browser/browser_access.h"
#include "browser/browser_backend.h"
#include "browser/browser_board_fit.h"
#include "browser/browser_translation.h"

namespace layer {
namespace {

// Makes the canvas, installs the event handlers; 0 when the page has no canvas. `names` lists
// the numbers xmas_take_event writes of each event (kPageNumberNames).
EM_JS(int, xmas_open, (int width, int height, const char* names), {
  if (typeof document === 'undefined') return 0;
  var canvas = document.getElementById('screen');
  if (!canvas) return 0;
  canvas.width = width;
  canvas.height = height;
  var page = {canvas: canvas, context: canvas.getContext('2d', {alpha: false}), queue: [],
              open: true, names: UTF8ToString(names).split(' '), handlers: []};
  Module['xmasPage'] = page;
  function on(target, type, handler, options) {
    target.addEventListener(type, handler, options);
    page.handlers.push([target, type, handler, options]);
  }
  // Records the event as it is now: its own numbers, the canvas's place and the page's state.
  function take(e) {
    if (!page.open) return;
    var r = e.clientX === undefined ? {} : canvas.getBoundingClientRect();
    page.queue.push({type: e.type, code: e.code, key: e.key, clientX: e.clientX,
                     clientY: e.clientY, left: r.left, top: r.top, width: r.width,
                     height: r.height, button: e.button, deltaY: e.deltaY,
                     shiftKey: e.shiftKey, ctrlKey: e.ctrlKey, altKey: e.altKey,
                     focused: document.hasFocus(),
                     visible: document.visibilityState === 'visible'});
    if (Module['xmasInput']) Module['xmasInput'].wake();
  }
  on(canvas, 'pointermove', take);
  on(canvas, 'pointerdown', function(e) {
    e.preventDefault();
    if (canvas.focus) canvas.focus();
    take(e);
    try { canvas.setPointerCapture(e.pointerId); } catch (ignored) {}
  });
  on(canvas, 'pointerup', take);
  on(canvas, 'pointercancel', take);
  on(canvas, 'pointerleave', take);
  on(canvas, 'wheel', function(e) {
    e.preventDefault();
    take(e);
  }, {passive: false});
  on(canvas, 'contextmenu', function(e) { e.preventDefault(); });
  on(window, 'keydown', function(e) {
    if (e.isComposing) return;
    take(e);
    // Keys reach the game only; the browser keeps its own shortcuts and function keys.
    if (!e.metaKey && !e.ctrlKey && !/^F[0-9]+$/.test(e.code)) e.preventDefault();
  });
  on(window, 'focus', take);
  on(window, 'blur', take);
  on(document, 'visibilitychange', take);
  on(window, 'resize', take);
  page.take = take;  // for the controls over the canvas (browser_access.cpp)
  // The page's focus and size as it starts, recorded as its own events would record them.
  take({type: 'focus'});
  take({type: 'resize'});
  return 1;
});

// Takes the oldest recorded event: its numbers (in the order of the names xmas_open was
// given), its type, code and key name as text. 0 when none is queued.
EM_JS(int, xmas_take_event, (double* numbers, char* type, int type_size, char* code,
                             int code_size, char* key, int key_size), {
  var page = Module['xmasPage'];
  if (!page || page.queue.length === 0) return 0;
  var e = page.queue.shift();
  page.names.forEach(function(name, i) { HEAPF64[(numbers >> 3) + i] = +e[name] || 0; });
  stringToUTF8(e.type || "", type, type_size);
  stringToUTF8(e.code || "", code, code_size);
  stringToUTF8(e.key || "", key, key_size);
  return 1;
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
  var main = page.canvas.closest('main');
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
    translator_.emplace(width_, height_);
    return xmas_open(width_, height_, kPageNumberNames) != 0;
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
  void Close() override {
    xmas_close();
    RemovePageControls();
  }
  bool PointerInside() const override { return translator_ && translator_->PointerInside(); }
  // Tells the page's screen reader (browser_access.cpp).
  void Describe(const ScreenWords& words) override { DescribeOnPage(words); }
  void Announce(const std::vector<std::string>& sentences) override { AnnounceOnPage(sentences); }

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
  std::optional<PageEventTranslator> translator_;  // made by Open
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
  if (!translator_) return false;
  bool repaint = false;
  PageEvent event;
  std::array<char, 32> type{};
  std::array<char, 64> code{};
  std::array<char, 64> key{};
  while (xmas_take_event(event.numbers.data(), type.data(), type.size(), code.data(), code.size(),
                         key.data(), key.size()) != 0) {
    event.type = type.data();
    event.code = code.data();
    event.key = key.data();
    switch (translator_->Translate(event, sink)) {
      case PageAction::kRepaint:
        repaint = true;
        break;
      case PageAction::kFitToViewport:
        FitToViewport();
        break;
      case PageAction::kNone:
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
