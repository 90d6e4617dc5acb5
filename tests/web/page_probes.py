# SPDX-License-Identifier: MIT
"""What the browser suites share: the scripted game and its native pictures, the scripts they
run in the page, and the local server."""
import functools
import http.server
import subprocess
import tempfile
import threading
import urllib.parse

SIZE = 651
SEED = 2  # Knecht Ruprecht moves first with this seed and opens in the centre
MENU_CLICK = (530, 100)  # Knecht Ruprecht's corner, top right
CENTRES = (104, 325, 546)
CELL_CLICKS = [(x, y) for y in CENTRES for x in CENTRES]  # cells 1 to 9 in order

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

# Reads the whole canvas as RGBA bytes (base64, to keep the transfer small).
READ_CANVAS = """
const c = document.getElementById('screen');
const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
let s = '';
for (let i = 0; i < d.length; i += 32768) s += String.fromCharCode.apply(null, d.subarray(i, i + 32768));
return btoa(s);
"""

# Resolves once a service worker controls the page (it claims the page when it takes over).
AWAIT_WORKER = """
const done = arguments[arguments.length - 1];
navigator.serviceWorker.ready.then(function look() {
  if (navigator.serviceWorker.controller) done(navigator.serviceWorker.controller.scriptURL);
  else setTimeout(look, 50);
});
"""

# Chooses the control over the canvas named arguments[0] as assistive technology does: a click
# event on its button, no pointer at any position. False when no control has that name.
CHOOSE_CONTROL = """
const b = Array.from(document.querySelectorAll('#controls button'))
    .find(b => b.textContent === arguments[0]);
if (b) b.click();
return !!b;
"""


def accessible(nodes):
    """What a screen reader finds in Chromium's accessibility tree (the nodes of DevTools'
    Accessibility.getFullAXTree): the canvas's name, the names of the buttons it can reach in
    the page's order, and the polite live region's text."""
    by_id = {n['nodeId']: n for n in nodes}
    def name(n):
        return n.get('name', {}).get('value', '')
    def role(n):
        return n.get('role', {}).get('value')
    def text(n):
        if role(n) == 'StaticText':
            return [name(n)]
        return [t for c in n.get('childIds', []) if c in by_id for t in text(by_id[c])]
    reachable = [n for n in nodes if not n.get('ignored')]
    live = [n for n in reachable
            if any(p['name'] == 'live' and p['value'].get('value') == 'polite'
                   for p in n.get('properties', []))]
    return {'screen': next((name(n) for n in reachable if role(n) in ('img', 'image')), None),
            'buttons': [name(n) for n in reachable if role(n) == 'button'],
            'live': ' '.join(text(live[0])) if live else None}


@functools.lru_cache(maxsize=None)
def _reference(program, clicks):
    with tempfile.NamedTemporaryFile() as out:
        subprocess.run([program, str(SEED), out.name] + ['%d,%d' % c for c in clicks],
                       check=True, timeout=60)
        return out.read()


def reference(program, clicks):
    """RGB bytes the native headless back-end shows after the clicks with the seed SEED;
    `program` is tests/web/reference_game.cpp built (each game is played once)."""
    return _reference(program, tuple(clicks))


def rgb_of(rgba):
    return bytes(b for i, b in enumerate(rgba) if i % 4 != 3)


def differences(rgba, rgb):
    """Count of pixels whose RGB differ, and of pixels that are not opaque."""
    wrong = sum(1 for p in range(SIZE * SIZE) if rgba[4 * p:4 * p + 3] != rgb[3 * p:3 * p + 3])
    see_through = sum(1 for p in range(SIZE * SIZE) if rgba[4 * p + 3] != 255)
    return wrong, see_through


class Server:
    """Serves the folder on 127.0.0.1 and records every path asked for. Stopping it is the
    network going away: the page's origin no longer answers."""

    def __init__(self, folder):
        self.paths = []
        server = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                server.paths.append((urllib.parse.urlsplit(self.path).path, self.headers.get('Host')))
                super().do_GET()

        self.httpd = http.server.ThreadingHTTPServer(
            ('127.0.0.1', 0), functools.partial(Handler, directory=folder))
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        self.url = 'http://127.0.0.1:%d/' % self.httpd.server_address[1]

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()
