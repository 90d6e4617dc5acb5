# SPDX-License-Identifier: MIT
"""Scripts the browser tests run in the page before its own."""

# Notes in window.firstFrame when the canvas first shows something: the menu's first frame.
FIRST_FRAME = """
window.firstFrame = null;
(function look() {
  const c = document.getElementById('screen');
  if (c && c.getContext('2d').getImageData(325, 325, 1, 1).data[1] !== 0) {
    window.firstFrame = performance.now();
  } else { requestAnimationFrame(look); }
})();
"""
