// SPDX-License-Identifier: MIT
#include "browser/browser_access.h"

#include <emscripten.h>

#include <cstdint>

namespace layer {
namespace {

// Names the canvas and keeps one button per control in #controls, positioned over the
// control in shares of the canvas; rects holds x, y, width and height per control, labels
// the controls' names one a line. Buttons are kept and relabelled where they can be, so that
// a screen reader stays on the one it chose; when the focused one goes, the canvas takes the
// focus and the next control is the page's own (Neues Spiel at the end of a game).
EM_JS(void, xmas_describe, (const char* name, const int32_t* rects, int count,
                            const char* labels), {
  if (typeof document === 'undefined') return;
  var canvas = document.getElementById('screen');
  var layer = document.getElementById('controls');
  if (!canvas) return;
  canvas.setAttribute('aria-label', UTF8ToString(name));
  if (!layer) return;
  if (!Module['xmasChoose']) {
    // A choice is a click at the middle of the control's centre pixel: the pointer events
    // the canvas records for a click there, in the same queue (see browser_backend.cpp).
    Module['xmasChoose'] = function(e) {
      var page = Module['xmasPage'];
      if (!page || !page.open || !page.take) return;
      var r = page.canvas.getBoundingClientRect();
      var at = {clientX: r.left + (+e.currentTarget.dataset.x + 0.5) * r.width / page.canvas.width,
                clientY: r.top + (+e.currentTarget.dataset.y + 0.5) * r.height / page.canvas.height,
                button: 0};
      ['pointermove', 'pointerdown', 'pointerup'].forEach(function(type) {
        page.take(Object.assign({type: type}, at));
      });
    };
  }
  var names = count > 0 ? UTF8ToString(labels).split('\n') : [];
  var focused = layer.contains(document.activeElement);
  while (layer.children.length > count) layer.removeChild(layer.lastChild);
  for (var i = 0; i < count; i++) {
    var button = layer.children[i];
    if (!button) {
      button = document.createElement('button');
      button.type = 'button';
      button.addEventListener('click', Module['xmasChoose']);
      layer.appendChild(button);
    }
    var x = HEAP32[(rects >> 2) + 4 * i], y = HEAP32[(rects >> 2) + 4 * i + 1];
    var w = HEAP32[(rects >> 2) + 4 * i + 2], h = HEAP32[(rects >> 2) + 4 * i + 3];
    button.style.left = (100 * x / canvas.width) + '%';
    button.style.top = (100 * y / canvas.height) + '%';
    button.style.width = (100 * w / canvas.width) + '%';
    button.style.height = (100 * h / canvas.height) + '%';
    button.dataset.x = x + (w >> 1);
    button.dataset.y = y + (h >> 1);
    button.textContent = names[i] || "";
  }
  if (focused && !layer.contains(document.activeElement)) canvas.focus({preventScroll: true});
});

EM_JS(void, xmas_announce, (const char* sentences), {
  if (typeof document === 'undefined') return;
  var region = document.getElementById('told');
  if (!region) return;
  region.textContent = "";
  UTF8ToString(sentences).split('\n').forEach(function(sentence) {
    var line = document.createElement('p');
    line.textContent = sentence;
    region.appendChild(line);
  });
});

}  // namespace

void DescribeOnPage(const ScreenWords& words) {
  std::vector<int32_t> rects;
  std::string labels;
  for (const ScreenControl& control : words.controls) {
    rects.insert(rects.end(), {control.x, control.y, control.width, control.height});
    if (!labels.empty()) labels += '\n';
    labels += control.label;
  }
  xmas_describe(words.name.c_str(), rects.data(), static_cast<int>(words.controls.size()),
                labels.c_str());
}

void AnnounceOnPage(const std::vector<std::string>& sentences) {
  std::string text;
  for (const std::string& sentence : sentences) {
    if (!text.empty()) text += '\n';
    text += sentence;
  }
  xmas_announce(text.c_str());
}

void RemovePageControls() {
  EM_ASM({
    var layer = typeof document !== 'undefined' && document.getElementById('controls');
    if (layer) layer.textContent = "";
  });
}

}  // namespace layer
