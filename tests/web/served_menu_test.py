#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""A folder of the browser game, served as a static host serves it, shows the menu.

    served_menu_test.py WEB_FOLDER MENU_BMP

Serves WEB_FOLDER on 127.0.0.1, opens index.html in headless Chromium and waits until the
canvas shows MENU_BMP (the 24-bit Menu.Vadi of a native build) pixel for pixel. Every request
the page makes must find its file in the folder, and the page logs no error. Prints PASS.
"""
import base64
import functools
import http.server
import struct
import sys
import tempfile
import threading
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

FOLDER, MENU = sys.argv[1], sys.argv[2]
READ_CANVAS = """
const c = document.getElementById('screen');
if (!c) return null;
const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
let s = '';
for (let i = 0; i < d.length; i += 32768) s += String.fromCharCode.apply(null, d.subarray(i, i + 32768));
return [c.width, c.height, btoa(s)];
"""


def fail(message):
    print('FAIL: ' + message, file=sys.stderr)
    sys.exit(1)


def bmp_rgb(path):
    """Width, height and top-down RGB bytes of an uncompressed 24-bit BMP."""
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits, compression = struct.unpack_from('<iiHHI', data, 18)
    if bits != 24 or compression != 0:
        fail('%s is not an uncompressed 24-bit BMP' % path)
    row_bytes = (width * 3 + 3) & ~3
    rows = range(abs(height)) if height < 0 else range(height - 1, -1, -1)
    out = bytearray()
    for row in rows:
        line = data[offset + row * row_bytes:offset + row * row_bytes + width * 3]
        for x in range(width):
            b, g, r = line[3 * x:3 * x + 3]
            out += bytes((r, g, b))
    return width, abs(height), bytes(out)


class Handler(http.server.SimpleHTTPRequestHandler):
    missing = []

    def log_message(self, *args):
        pass

    def send_error(self, code, *args, **kwargs):
        path = urllib.parse.urlsplit(self.path).path
        if path != '/favicon.ico':  # the browser's own probe, which the page does not ask for
            Handler.missing.append('%s (%d)' % (path, code))
        super().send_error(code, *args, **kwargs)


def main():
    width, height, menu = bmp_rgb(MENU)
    httpd = http.server.ThreadingHTTPServer(('127.0.0.1', 0),
                                            functools.partial(Handler, directory=FOLDER))
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    profile = tempfile.TemporaryDirectory()
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ('--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
                     '--disable-background-networking', '--disable-component-update',
                     '--user-data-dir=' + profile.name, '--window-size=1000,1000'):
        options.add_argument(argument)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    try:
        driver.get('http://127.0.0.1:%d/index.html' % httpd.server_address[1])
        deadline = time.time() + 30
        shown = None
        while time.time() < deadline:
            shown = driver.execute_script(READ_CANVAS)
            if shown and shown[:2] == [width, height]:
                rgba = base64.b64decode(shown[2])
                rgb = bytes(b for i, b in enumerate(rgba) if i % 4 != 3)
                if rgb == menu:
                    break
            time.sleep(0.2)
        else:
            if not shown:
                fail('the page has no canvas with the id "screen"')
            fail('the canvas (%d x %d) never showed the menu picture' % tuple(shown[:2]))
        errors = [e['message'] for e in driver.get_log('browser') if e['level'] == 'SEVERE']
        if Handler.missing or errors:
            fail('missing files: %s; errors: %s' % (Handler.missing, errors))
    finally:
        driver.quit()
        httpd.shutdown()
        profile.cleanup()
    print('PASS')


main()
