#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The browser game as a static host serves it: small, installable, and playable offline.

    offline_test.py WEB_BUILD_DIR NATIVE_BUILD_DIR

Installs WEB_BUILD_DIR (cmake --install) into a folder and serves that folder, so that a file
the page needs but the install rule leaves out fails the tests. NATIVE_BUILD_DIR holds the
native build's Menu.Vadi and Vadi.Vadi and its web_reference_game: the page's packed
pictures must show on its canvas as them, pixel for pixel. The first
visit is made on simulated slow lines; the bytes it costs and its time to the menu are printed.
"""
import base64
import http.server
from http import HTTPStatus
import json
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib

import page_probes
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

WEB_BUILD, NATIVE = sys.argv[1], sys.argv[2]
del sys.argv[1:3]
REFERENCE = os.path.join(NATIVE, 'web_reference_game')
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
SIZE = 651
# The page's bytes before the menu, at most, so that a phone's line brings them quickly: the
# module and the glue, built without C++ exceptions and without a file system (about 100 KB),
# and the menu's packed picture (93 KB). The board's picture is fetched once the menu shows.
MAX_FIRST_VISIT_BYTES = 200 * 1000


def line(mbit_per_s, latency_ms):
    return {'offline': False, 'latency': latency_ms, 'downloadThroughput': mbit_per_s * 1e6 / 8,
            'uploadThroughput': mbit_per_s * 1e6 / 8}


# A first visit on each line (Chromium's network emulation) and the bound on its time to the
# menu: 1.5 s on a common mobile test profile, 3 s on a weak line.
LINES = [('10 Mbit/s, 40 ms', line(10, 40), 600),
         ('1.6 Mbit/s, 150 ms', line(1.6, 150), 1500),
         ('750 kbit/s, 300 ms', line(0.75, 300), 3000)]
KEPT_MENU_MS = 500
# The hosts a kept game is started from (None: the host is down), and the ways it is started.
HOSTS = [('good host', {}),
         ('slow host', {'pause_s': 1.5, 'bytes_per_s': 20000}),
         ('host answering 503', {'fault': 503}),
         ('host answering another page', {'fault': 'foreign'}),
         ('host down', None)]
ADDRESSES = [('folder', ''), ('index.html', 'index.html'), ('Neues Spiel', None)]
# A first visit where one file fails, and what the page must say besides the file's name.
FIRST_VISIT_FAULTS = [('xmas-tictactoe.wasm', 503, '503'),
                      ('xmas-tictactoe.js', 404, '404'),
                      ('Menu.Vadi', 'foreign', 'not a picture'),
                      ('Vadi.Vadi', 503, '503')]

# Bytes per file (with headers) that arrived before the menu's first frame.
BYTES_BEFORE_MENU = """
const menu = window.firstFrame, files = {};
const page = performance.getEntriesByType('navigation')[0];
files['index.html'] = page.transferSize;
for (const e of performance.getEntriesByType('resource')) {
  if (e.responseEnd <= menu && e.transferSize > 0) {
    const name = e.name.split('/').pop() || 'index.html';
    files[name] = (files[name] || 0) + e.transferSize;
  }
}
return files;
"""

# Whether the board's picture has arrived: its resource entry is written once it has.
BOARD_ARRIVED = """
return performance.getEntriesByType('resource').some(e => e.name.endsWith('/Vadi.Vadi'));
"""

# Waits until the registration has no installing or waiting worker: 'done', or after the
# timeout what is still there ('installing', 'waiting').
AWAIT_INSTALL = """
const timeout = arguments[0], done = arguments[arguments.length - 1];
const until = Date.now() + timeout;
navigator.serviceWorker.getRegistration().then(function look(registration) {
  if (!registration.installing && !registration.waiting) return done('done');
  if (Date.now() > until) return done(registration.installing ? 'installing' : 'waiting');
  setTimeout(() => look(registration), 50);
});
"""
figures = {}

READ_CANVAS = """
const c = document.getElementById('screen');
if (!c || c.width !== %d) return null;
const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
let s = '';
for (let i = 0; i < d.length; i += 32768) {
  s += String.fromCharCode.apply(null, d.subarray(i, i + 32768));
}
return btoa(s);
""" % SIZE


KEPT_CACHES = """
const done = arguments[arguments.length - 1];
caches.keys().then(done);
"""


def native(name):
    with open(os.path.join(NATIVE, name), 'rb') as f:
        return f.read()


def bmp_rgb(data):
    """Top-down RGB bytes of the game's uncompressed 24-bit, bottom-up BMP files."""
    offset, = struct.unpack_from('<I', data, 10)
    width, height = struct.unpack_from('<ii', data, 18)
    row_bytes = (width * 3 + 3) & ~3
    out = bytearray()
    for row in range(height - 1, -1, -1):
        line = data[offset + row * row_bytes:offset + row * row_bytes + width * 3]
        for x in range(0, len(line), 3):
            out += bytes((line[x + 2], line[x + 1], line[x]))
    return bytes(out)


def png_size(data):
    """Width and height of a PNG file whose chunks and image data are intact."""
    if data[:8] != b'\x89PNG\r\n\x1a\n':
        raise ValueError('no PNG signature')
    at, idat, header = 8, b'', None
    while at < len(data):
        length, = struct.unpack_from('>I', data, at)
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack_from('>I', data, at + 8 + length)[0]:
            raise ValueError('bad CRC in %r' % kind)
        if kind == b'IHDR':
            header = struct.unpack_from('>IIBB', body)
        elif kind == b'IDAT':
            idat += body
        at += 12 + length
    width, height, depth, colour = header
    if (depth, colour) != (8, 2) or len(zlib.decompress(idat)) != height * (1 + 3 * width):
        raise ValueError('image data do not match the header')
    return width, height


def install(folder):
    subprocess.run(['cmake', '--install', WEB_BUILD, '--prefix', folder], check=True,
                   stdout=subprocess.DEVNULL)


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


FOREIGN_PAGE = b'<!DOCTYPE html><title>Anmeldung</title><p>Bitte melden Sie sich an.</p>'
TYPES = {'html': 'text/html', 'js': 'text/javascript', 'wasm': 'application/wasm',
         'webmanifest': 'application/manifest+json', 'png': 'image/png'}


class Host:
    """A static host for a folder on a fixed port, counting the bytes it sends. It can be made
    slow (a pause before each answer, or before some: `pauses`, name -> seconds; then a
    trickle), answer with a fault (a status such as 503, or FOREIGN: 200 with another page)
    for every file or for some (`faults`: name -> fault), serve some files from elsewhere
    (`swapped`: name -> path), or stop: the network going away, as the page's origin no longer
    answers."""
    FOREIGN = 'foreign'

    def __init__(self, port):
        self.port, self.url, self.httpd = port, 'http://127.0.0.1:%d/' % port, None
        self.sent, self.paths = 0, []
        self.behave()

    def behave(self, pause_s=0, bytes_per_s=0, fault=None, faults=None, swapped=None,
               pauses=None):
        self.pause_s, self.bytes_per_s, self.fault = pause_s, bytes_per_s, fault
        self.faults, self.swapped, self.pauses = faults or {}, swapped or {}, pauses or {}

    def start(self, folder):
        """Serves folder, as a good host until told otherwise."""
        host = self
        self.behave()

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def answer(self, status, body, kind):
                self.send_response(status)
                self.send_header('Content-Type', kind)
                self.send_header('Content-Length', str(len(body)))
                self.end_headers()
                step = 2048 if host.bytes_per_s else len(body) or 1
                for at in range(0, len(body), step):
                    if host.bytes_per_s:
                        time.sleep(step / host.bytes_per_s)
                    self.wfile.write(body[at:at + step])
                    host.sent += len(body[at:at + step])

            def do_GET(self):
                name = self.path.split('?')[0].lstrip('/') or 'index.html'
                host.paths.append(name)
                time.sleep(host.pauses.get(name, host.pause_s))
                fault = host.faults.get(name, host.fault)
                if fault == Host.FOREIGN:
                    return self.answer(200, FOREIGN_PAGE, 'text/html')
                if fault:
                    return self.answer(fault, HTTPStatus(fault).phrase.encode(), 'text/plain')
                path = host.swapped.get(name, os.path.join(folder, name))
                if '/' in name or not os.path.isfile(path):
                    return self.answer(404, b'Not Found', 'text/plain')
                with open(path, 'rb') as f:
                    body = f.read()
                self.answer(200, body, TYPES.get(name.rsplit('.', 1)[-1],
                                                 'application/octet-stream'))

        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', self.port), Handler)
        self.httpd.daemon_threads = True
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Browser:
    """Headless Chromium with a fresh profile."""

    def __init__(self):
        self.profile = tempfile.TemporaryDirectory()
        options = webdriver.ChromeOptions()
        options.binary_location = '/usr/bin/chromium'
        for argument in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
                         '--no-first-run', '--disable-background-networking',
                         '--disable-component-update', '--disable-sync',
                         '--user-data-dir=' + self.profile.name, '--window-size=1000,1000'):
            options.add_argument(argument)
        options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.driver.set_script_timeout(30)
        # Notes when the canvas first shows something: the first frame of the menu.
        self.driver.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument',
                                    {'source': page_probes.FIRST_FRAME})
        self.driver.execute_cdp_cmd('Network.enable', {})

    def close(self):
        self.driver.quit()
        self.profile.cleanup()

    def visit(self, url, address='index.html'):
        """Loads the page (its folder's own address when address is ''), or presses Neues
        Spiel on the page shown when address is None."""
        if address is None:
            self.driver.execute_script("window.oldPage = true;"
                                       "document.getElementById('new-game').click()")
            deadline = time.time() + 20
            while time.time() < deadline and self.driver.execute_script(
                    'return window.oldPage === true'):
                time.sleep(0.05)
            return
        self.driver.get('about:blank')
        self.driver.get(url + address)  # the menu is the same for every seed

    def menu_ms(self, timeout=20):
        """Time from the navigation to the menu's first frame, or None."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            shown = self.driver.execute_script('return window.firstFrame')
            if shown is not None:
                return shown
            time.sleep(0.02)
        return None

    def failure(self, timeout=20):
        """The page's message about a file that could not be loaded, or None."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            text = self.driver.execute_script(
                "const f = document.getElementById('failed');"
                "return f && !f.hidden ? f.textContent : null")
            if text:
                return text
            time.sleep(0.05)
        return None

    def shows(self, picture, timeout=20):
        """True once the canvas shows the RGB bytes of `picture`; False after the timeout."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            shown = self.driver.execute_script(READ_CANVAS)
            rgba = base64.b64decode(shown) if shown else b''
            if bytes(b for i, b in enumerate(rgba) if i % 4 != 3) == picture:
                return True
            time.sleep(0.1)
        return False

    def await_worker(self):
        return self.driver.execute_async_script(page_probes.AWAIT_WORKER)

    def errors(self):
        return [e['message'] for e in self.driver.get_log('browser') if e['level'] == 'SEVERE']


class OfflinePage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory()
        cls.folder = os.path.join(cls.work.name, 'a')
        install(cls.folder)
        cls.menu, cls.board = native('Menu.Vadi'), native('Vadi.Vadi')
        cls.menu_rgb, cls.board_rgb = bmp_rgb(cls.menu), bmp_rgb(cls.board)

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def setUp(self):
        self.host = Host(free_port())
        self.browser = Browser()

    def tearDown(self):
        self.browser.close()
        if self.host.httpd:
            self.host.stop()

    def file(self, name):
        with open(os.path.join(self.folder, name), 'rb') as f:
            return f.read()

    def test_manifest_and_icons(self):
        """The manifest names what a home screen needs and its icons are intact PNG files of
        the sizes it states. (That the packed pictures show as the native ones, and what they
        cost, the canvas and first-visit tests check.)"""
        manifest = json.loads(self.file('xmas-tictactoe.webmanifest'))
        for key in ('name', 'short_name', 'start_url', 'theme_color', 'background_color'):
            self.assertTrue(manifest.get(key), key)
        self.assertEqual(manifest['display'], 'standalone')
        self.assertTrue(os.path.isfile(os.path.join(self.folder, manifest['start_url'])))
        sizes = set()
        for icon in manifest['icons']:
            width, height = png_size(self.file(icon['src']))
            self.assertEqual(icon['sizes'], '%dx%d' % (width, height), icon['src'])
            sizes.add(width)
        self.assertTrue({192, 512} <= sizes, sizes)

    def test_first_visit_fits_a_phone_line(self):
        """From a host that compresses nothing, in a fresh profile with the cache disabled: at
        most MAX_FIRST_VISIT_BYTES arrive before the menu, which shows within each line's
        bound, and the board's picture is not among them; the worker then takes over, and the
        game starts with the network gone."""
        self.host.start(self.folder)
        for name, line, bound_ms in LINES:
            browser = Browser() if name != LINES[0][0] else self.browser
            try:
                driver = browser.driver
                driver.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
                driver.execute_cdp_cmd('Network.emulateNetworkConditions', line)
                browser.visit(self.host.url)
                self.assertTrue(browser.shows(self.menu_rgb), 'the menu, ' + name)
                menu_ms = driver.execute_script('return window.firstFrame')
                figures['first visit, %s: navigation to menu (ms)' % name] = round(menu_ms)
                self.assertLess(menu_ms, bound_ms, name)
                files = driver.execute_script(BYTES_BEFORE_MENU)
                figures['first visit, %s: bytes before the menu' % name] = sum(files.values())
                self.assertLessEqual(sum(files.values()), MAX_FIRST_VISIT_BYTES, files)
                self.assertNotIn('Vadi.Vadi', files, 'the board comes after the menu')
            finally:
                if browser is not self.browser:
                    browser.close()
        for name, size in sorted(files.items()):
            figures['first visit: bytes before the menu: ' + name] = size

        driver = self.browser.driver
        driver.execute_cdp_cmd('Network.emulateNetworkConditions', dict(line, latency=0,
                               downloadThroughput=-1, uploadThroughput=-1))
        self.assertTrue(self.browser.await_worker().endswith('/service-worker.js'))
        manifest = driver.execute_cdp_cmd('Page.getAppManifest', {})
        self.assertTrue(manifest['url'].endswith('/xmas-tictactoe.webmanifest'), manifest['url'])
        self.assertEqual(manifest['errors'], [])
        installable = driver.execute_cdp_cmd('Page.getInstallabilityErrors', {})
        self.assertEqual(installable['installabilityErrors'], [])
        for path in self.host.paths:
            self.assertTrue(os.path.isfile(os.path.join(self.folder, path)), path)

        # The network goes away: the host stops, and the browser is told it is offline.
        self.host.stop()
        self.host.httpd = None
        driver.execute_cdp_cmd('Network.emulateNetworkConditions', dict(line, offline=True))
        self.browser.visit(self.host.url)
        self.assertTrue(self.browser.shows(self.menu_rgb), 'the menu without a network')
        self.assertEqual(self.browser.errors(), [])

    def test_a_kept_game_starts_at_once_whatever_the_host_does(self):
        """Once the worker keeps the game, every way of starting it shows the menu within
        KEPT_MENU_MS on every kind of host, and no answer of a bad host replaces a kept file."""
        self.host.start(self.folder)
        self.browser.visit(self.host.url)
        self.assertTrue(self.browser.shows(self.menu_rgb), 'the first visit')
        self.browser.await_worker()
        for host_name, behaviour in HOSTS:
            if behaviour is None:
                self.host.stop()
                self.host.httpd = None
            else:
                self.host.behave(**behaviour)
            for address_name, address in ADDRESSES:
                case = '%s, %s' % (host_name, address_name)
                self.browser.visit(self.host.url, address)
                menu_ms = self.browser.menu_ms()
                figures['kept game, %s: navigation to menu (ms)' % case] = (
                    round(menu_ms) if menu_ms is not None else 'none')
                self.assertIsNotNone(menu_ms, case)
                self.assertTrue(self.browser.shows(self.menu_rgb), case)
                self.assertLess(menu_ms, KEPT_MENU_MS, case)

    def test_updates_come_whole_and_a_broken_one_keeps_the_game(self):
        """A half-updated host (build B's page and worker, build A's module) leaves build A
        whole, online and offline; once B is served whole, the second load shows it, with
        B's cache alone kept and B offline."""
        b, new_cache = self.build_b()
        self.host.start(self.folder)
        self.browser.visit(self.host.url)
        self.assertTrue(self.browser.shows(self.menu_rgb), 'build A')
        self.browser.await_worker()
        old_cache, = self.kept_caches()
        self.host.stop()

        a_module = os.path.join(self.folder, 'xmas-tictactoe.wasm')
        self.host.start(b)
        self.host.behave(swapped={'xmas-tictactoe.wasm': a_module})
        shown = [self.load_and_update() for _ in range(2)]
        figures['update from a half-updated host: builds shown at loads 1, 2'] = ' '.join(shown)
        self.assertEqual(shown, ['A', 'A'])
        self.assertEqual(self.kept_caches(), [old_cache], 'only A is kept')
        self.host.stop()
        self.host.httpd = None
        self.browser.visit(self.host.url)
        self.assertTrue(self.browser.shows(self.menu_rgb), 'build A offline')

        self.host.start(b)
        shown = [self.load_and_update() for _ in range(3)]
        figures['update from a whole host: builds shown at loads 1, 2, 3'] = ' '.join(shown)
        self.assertEqual(shown[1:], ['B', 'B'], 'B by the second load')
        deadline, kept = time.time() + 10, None
        while kept != [new_cache] and time.time() < deadline:
            time.sleep(0.1)
            kept = self.kept_caches()
        self.assertEqual(kept, [new_cache], "the new build's cache alone")
        self.host.stop()
        self.host.httpd = None
        self.browser.visit(self.host.url)
        self.assertTrue(self.browser.shows(self.board_rgb), 'build B offline')

    def test_a_choice_made_before_the_board_arrives_waits_for_it(self):
        """The board's picture is fetched once the menu shows; an opponent chosen while it is
        still arriving waits for it, and the game goes on on the board, as the native one."""
        self.host.start(self.folder)
        self.host.behave(pauses={'Vadi.Vadi': 3})
        self.browser.visit(self.host.url, 'index.html#seed=%d' % page_probes.SEED)
        self.assertTrue(self.browser.shows(self.menu_rgb), 'the menu')
        driver = self.browser.driver
        self.assertTrue(driver.execute_script(page_probes.CHOOSE_CONTROL,
                                              'Knecht Ruprecht, oben rechts'))
        self.assertFalse(driver.execute_script(BOARD_ARRIVED), 'chosen before the board came')
        board = page_probes.reference(REFERENCE, [page_probes.MENU_CLICK])
        self.assertTrue(self.browser.shows(board), 'the board with the opening ring')
        self.assertEqual(self.browser.errors(), [])

    def test_a_first_visit_that_cannot_load_says_why(self):
        self.host.start(self.folder)
        for name, fault, said in FIRST_VISIT_FAULTS:
            self.host.behave(faults={name: fault})
            self.browser.visit(self.host.url)
            text = self.browser.failure()
            self.assertIsNotNone(text, name)
            for words in (name, said):
                self.assertIn(words, text, name)
            figures['first visit, %s answered %s: the page says' % (name, fault)] = text

    def kept_caches(self):
        return sorted(name for name in self.browser.driver.execute_async_script(KEPT_CACHES)
                      if name != 'xmas-tictactoe-pins')

    def load_and_update(self, timeout=20):
        """Loads the page and says which build it shows ('A': the menu, 'B': the board as the
        menu); then waits until the update check this load made is over."""
        since = len(self.host.paths)
        self.browser.visit(self.host.url)
        shown = 'A' if self.browser.shows(self.menu_rgb, timeout=5) else (
            'B' if self.browser.shows(self.board_rgb, timeout=1) else 'neither')
        deadline = time.time() + timeout
        while 'service-worker.js' not in self.host.paths[since:] and time.time() < deadline:
            time.sleep(0.05)
        time.sleep(0.3)  # the script's answer reaches the browser, which starts installing
        self.assertEqual(self.browser.driver.execute_async_script(AWAIT_INSTALL, timeout * 1000),
                         'done', 'the update check ends')
        return shown

    def build_b(self):
        """Build B: the same page with another menu picture (the board's) and another module
        (one more custom section, which changes no behaviour), and its worker written by the
        build's own script. Returns its folder and its cache's name."""
        b = os.path.join(self.work.name, 'b')
        shutil.rmtree(b, ignore_errors=True)
        shutil.copytree(self.folder, b)
        shutil.copy(os.path.join(self.folder, 'Vadi.Vadi'), os.path.join(b, 'Menu.Vadi'))
        with open(os.path.join(b, 'xmas-tictactoe.wasm'), 'ab') as f:
            f.write(bytes([0, 8, 7]) + b'build-b')  # custom section, 8 bytes: its name only
        worker = self.file('service-worker.js').decode()
        cached = re.findall(r"^  '([^']+)': '[0-9a-f]{64}'", worker, re.M)
        hashed = sorted(set(os.listdir(b)) - {'service-worker.js'})
        subprocess.run(['cmake', '-DTEMPLATE=' + os.path.join(ROOT, 'web', 'service-worker.js.in'),
                        '-DOUTPUT=' + os.path.join(b, 'service-worker.js'), '-DDIR=' + b,
                        '-DCACHED=' + ';'.join(cached), '-DHASHED=' + ';'.join(hashed), '-P',
                        os.path.join(ROOT, 'cmake', 'WebServiceWorker.cmake')], check=True)
        with open(os.path.join(b, 'service-worker.js'), 'rb') as f:
            new_worker = f.read().decode()
        self.assertNotEqual(new_worker, worker, 'a changed file, a new worker')
        return b, 'xmas-tictactoe-' + new_worker.split("PREFIX + '")[1].split("'")[0]


if __name__ == '__main__':
    result = unittest.main(exit=False, verbosity=2).result
    for name, value in figures.items():
        print('figure: %s: %s' % (name, value))
    sys.exit(0 if result.wasSuccessful() else 1)
