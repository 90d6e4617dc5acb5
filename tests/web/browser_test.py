#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The game in headless Chromium, served from build/web/ by a local server.

    browser_test.py WEB_DIR REFERENCE_PROGRAM

The canvas must equal, pixel for pixel, what the native headless back-end shows for the same
scripted game with the same seed (REFERENCE_PROGRAM plays it): the menu, the board after the
opponent's first ring, and the finished game with its banner. A key then ends the game and
shows the reload line, and nothing is loaded from outside the folder. The figures measured
on the way are printed at the end.
"""
import functools
import http.server
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By

SIZE = 651
SEED = 2  # Knecht Ruprecht moves first with this seed and opens in the centre
MENU_CLICK = (530, 100)  # Knecht Ruprecht's corner, top right
CENTRES = (104, 325, 546)
CELL_CLICKS = [(x, y) for y in CENTRES for x in CENTRES]  # cells 1 to 9 in order
WINDOW = (1400, 1600)  # room for the canvas at twice its size

WEB_DIR, REFERENCE = sys.argv[1], sys.argv[2]
del sys.argv[1:3]
figures = {}

# Reads the whole canvas as RGBA bytes (base64, to keep the transfer small).
READ_CANVAS = """
const c = document.getElementById('screen');
const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
let s = '';
for (let i = 0; i < d.length; i += 32768) s += String.fromCharCode.apply(null, d.subarray(i, i + 32768));
return btoa(s);
"""


class Server:
    """Serves the folder on 127.0.0.1 and records every path asked for."""

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


def reference(clicks):
    """RGB bytes the native headless back-end shows after the clicks."""
    with tempfile.NamedTemporaryFile() as out:
        subprocess.run([REFERENCE, str(SEED), out.name] + ['%d,%d' % c for c in clicks],
                       check=True, timeout=60)
        return out.read()


def rgb_of(rgba):
    return bytes(b for i, b in enumerate(rgba) if i % 4 != 3)


def differences(rgba, rgb):
    """Count of pixels whose RGB differ, and of pixels that are not opaque."""
    wrong = sum(1 for p in range(SIZE * SIZE) if rgba[4 * p:4 * p + 3] != rgb[3 * p:3 * p + 3])
    see_through = sum(1 for p in range(SIZE * SIZE) if rgba[4 * p + 3] != 255)
    return wrong, see_through


class BrowserGame(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server(WEB_DIR)
        cls.profile = tempfile.TemporaryDirectory()
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for argument in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                         '--no-first-run', '--disable-background-networking',
                         '--disable-component-update', '--disable-sync',
                         '--user-data-dir=' + cls.profile.name,
                         '--window-size=%d,%d' % WINDOW):
            options.add_argument(argument)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        cls.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        cls.driver.set_script_timeout(30)
        # Notes when the canvas first shows something: the first frame of the menu.
        cls.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': """
            window.firstFrame = null;
            (function look() {
              const c = document.getElementById('screen');
              if (c && c.getContext('2d').getImageData(325, 325, 1, 1).data[1] !== 0) {
                window.firstFrame = performance.now();
              } else { requestAnimationFrame(look); }
            })();"""})

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.httpd.shutdown()
        cls.profile.cleanup()

    def open_page(self):
        """Loads the page afresh (a new fragment alone would not reload it)."""
        self.driver.get('about:blank')
        self.driver.get(self.server.url + 'index.html#seed=%d' % SEED)
        return self.driver.find_element(By.ID, 'screen')

    def canvas_bytes(self):
        import base64
        return base64.b64decode(self.driver.execute_script(READ_CANVAS))

    def await_canvas(self, expected, what, timeout=15):
        """Waits until the canvas shows `expected`; fails naming `what` otherwise."""
        deadline = time.time() + timeout
        while True:
            shown = self.canvas_bytes()
            if rgb_of(shown) == expected or time.time() > deadline:
                break
            time.sleep(0.05)
        wrong, see_through = differences(shown, expected)
        self.assertEqual((wrong, see_through), (0, 0),
                         '%s: pixels that differ from the native game, pixels not opaque' % what)

    def click(self, canvas, x, y):
        """A left click on framebuffer pixel (x, y) of the canvas, however it is scaled."""
        width = canvas.size['width']
        scale = width / SIZE
        dx = int((x + 0.5) * scale - width / 2)
        dy = int((y + 0.5) * scale - width / 2)
        ActionChains(self.driver).move_to_element_with_offset(canvas, dx, dy).click().perform()

    def test_scripted_game_matches_the_native_one_and_a_key_ends_it(self):
        menu = reference([])
        board = reference([MENU_CLICK])
        finished = reference([MENU_CLICK] + CELL_CLICKS)
        self.assertNotEqual(board, finished)

        canvas = self.open_page()
        self.assertEqual(self.driver.title, 'xmas-tictactoe')
        self.await_canvas(menu, 'menu')
        figures['page load to first menu frame (ms)'] = self.first_frame_ms()
        self.assertEqual(canvas.size['width'], 2 * SIZE, 'whole scale that fits the window')
        figures['CPU busy while idle at the menu (%)'] = self.idle_busy_percent()

        self.click(canvas, *MENU_CLICK)
        self.await_canvas(board, 'board with the ring in cell 5')
        for x, y in CELL_CLICKS:
            self.click(canvas, x, y)
        self.await_canvas(finished, 'finished game with its banner')

        ended = self.driver.find_element(By.ID, 'ended')
        self.assertFalse(ended.is_displayed())
        ActionChains(self.driver).send_keys('x').perform()
        deadline = time.time() + 5
        while not ended.is_displayed() and time.time() < deadline:
            time.sleep(0.05)
        self.assertTrue(ended.is_displayed(), 'the reload line after the key')
        self.assertIn('Danke fürs Spielen!', ended.text)
        self.assertEqual(rgb_of(self.canvas_bytes()), finished, 'the last frame stays')

        self.assert_nothing_from_elsewhere()
        errors = [e for e in self.driver.get_log('browser') if e['level'] == 'SEVERE']
        self.assertEqual(errors, [])

    def test_click_latency(self):
        """The time from a press on the canvas to its change shown (measured, not judged)."""
        canvas = self.open_page()
        self.await_canvas(reference([]), 'menu')
        self.driver.execute_script("""
            const c = document.getElementById('screen');
            const g = c.getContext('2d');
            window.latency = null;
            c.addEventListener('pointerdown', () => {
              const start = performance.now();
              const before = g.getImageData(325, 325, 1, 1).data.join();
              (function look() {
                if (g.getImageData(325, 325, 1, 1).data.join() !== before) {
                  window.latency = performance.now() - start;
                } else { requestAnimationFrame(look); }
              })();
            }, {capture: true});""")
        self.click(canvas, *MENU_CLICK)
        deadline = time.time() + 5
        while self.driver.execute_script('return window.latency') is None and time.time() < deadline:
            time.sleep(0.02)
        latency = self.driver.execute_script('return window.latency')
        self.assertIsNotNone(latency, 'the click changed the canvas')
        # The game pauses 200 ms after the choice before it shows the board.
        figures['click to board shown, less the game\'s 200 ms pause (ms)'] = round(latency - 200, 1)

    def first_frame_ms(self):
        return round(self.driver.execute_script('return window.firstFrame'), 1)

    def idle_busy_percent(self, seconds=5):
        self.driver.execute_cdp_cmd('Performance.enable', {})
        def task_seconds():
            metrics = self.driver.execute_cdp_cmd('Performance.getMetrics', {})['metrics']
            return next(m['value'] for m in metrics if m['name'] == 'TaskDuration')
        before = task_seconds()
        time.sleep(seconds)
        return round(100 * (task_seconds() - before) / seconds, 2)

    def assert_nothing_from_elsewhere(self):
        origin = self.server.url.rstrip('/')
        loaded = self.driver.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name)")
        self.assertTrue(loaded, 'the page loads its script, wasm and data')
        for name in loaded:
            self.assertTrue(name.startswith(origin + '/'), name)
        for path, _ in self.server.paths:
            if path == '/favicon.ico':
                continue  # the browser's own probe, which the page does not ask for
            self.assertTrue(os.path.isfile(os.path.join(WEB_DIR, path.lstrip('/'))), path)


if __name__ == '__main__':
    result = unittest.main(exit=False, verbosity=2).result
    for name, value in figures.items():
        print('figure: %s: %s' % (name, value))
    sys.exit(0 if result.wasSuccessful() else 1)
