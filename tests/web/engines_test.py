#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The game in the browser engines besides Chromium's: WebKit (WebKitGTK's MiniBrowser, driven
by WebKitWebDriver under an X server) and Gecko (headless Firefox ESR, driven by Marionette).

    engines_test.py WEB_BUILD_DIR REFERENCE_PROGRAM

The installed page (cmake --install WEB_BUILD_DIR) is served on 127.0.0.1. In each engine the
menu and a game played to its end by clicks, with a fixed seed, must equal pixel for pixel
what the native headless back-end shows (REFERENCE_PROGRAM plays the game); "Neues Spiel"
brings the menu back; choosing a control over the canvas, as a screen reader does, places
a cross; and once the service worker controls the page, the menu appears with
the server stopped. Each engine's start and time to the menu are printed at the end.
"""
import base64
import functools
import glob
import os
import socket
import subprocess
import sys
import tempfile
import time
import unittest

import marionette
import page_probes
from page_probes import AWAIT_WORKER, CELL_CLICKS, CHOOSE_CONTROL, MENU_CLICK, READ_CANVAS, SEED, SIZE, rgb_of
from selenium import webdriver
from selenium.webdriver.common.options import ArgOptions
from selenium.webdriver.remote.command import Command

WEB_BUILD, REFERENCE = sys.argv[1], sys.argv[2]
del sys.argv[1:3]
reference = functools.partial(page_probes.reference, REFERENCE)
figures = {}


def free_port():
    with socket.socket() as s:
        s.bind(('127.0.0.1', 0))
        return s.getsockname()[1]


class WebKit:
    """WebKitGTK's MiniBrowser through WebKitWebDriver. MiniBrowser has no headless mode: it
    gets an X server of its own (Xvfb picks a free display) unless DISPLAY names one."""

    def __init__(self):
        self.home = tempfile.TemporaryDirectory()  # a fresh data folder for the browser
        self.xvfb, display = None, os.environ.get('DISPLAY')
        if not display:
            read, write = os.pipe()
            self.xvfb = subprocess.Popen(
                ['Xvfb', '-displayfd', str(write), '-screen', '0', '1400x1200x24', '-nolisten', 'tcp'],
                pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write)
            with os.fdopen(read) as number:
                display = ':' + number.readline().strip()
        port = free_port()
        self.service = subprocess.Popen(
            ['/usr/bin/WebKitWebDriver', '--port=%d' % port],
            env={'DISPLAY': display, 'HOME': self.home.name, 'PATH': '/usr/bin:/bin'},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while True:
            try:
                socket.create_connection(('127.0.0.1', port)).close()
                break
            except OSError:
                if time.time() > deadline:
                    raise
                time.sleep(0.05)
        options = ArgOptions()
        options.set_capability('browserName', 'MiniBrowser')
        options.set_capability('webkitgtk:browserOptions', {
            'binary': glob.glob('/usr/lib/x86_64-linux-gnu/webkit2gtk-4.*/MiniBrowser')[0],
            'args': ['--automation']})
        self.driver = webdriver.Remote('http://127.0.0.1:%d' % port, options=options)
        self.driver.set_script_timeout(30)

    def get(self, url):
        self.driver.get(url)

    def execute_script(self, script, *args):
        return self.driver.execute_script(script, *args)

    def execute_async_script(self, script, *args):
        return self.driver.execute_async_script(script, *args)

    def perform_actions(self, actions):
        self.driver.execute(Command.W3C_ACTIONS, {'actions': actions})
        self.driver.execute(Command.W3C_CLEAR_ACTIONS)

    def quit(self):
        try:
            self.driver.quit()
        finally:
            for process in (self.service, self.xvfb):
                if process:
                    process.terminate()
                    process.wait()
            self.home.cleanup()


def setUpModule():
    global work, folder
    work = tempfile.TemporaryDirectory()
    folder = os.path.join(work.name, 'page')
    subprocess.run(['cmake', '--install', WEB_BUILD, '--prefix', folder], check=True,
                   stdout=subprocess.DEVNULL)


def tearDownModule():
    work.cleanup()


class EngineGame:
    """The same game in each engine; a subclass names the engine and starts it."""

    @classmethod
    def setUpClass(cls):
        start = time.time()
        cls.browser = cls.start()
        figures['%s: start to a session (s)' % cls.__name__] = round(time.time() - start, 1)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()

    def setUp(self):
        self.server = page_probes.Server(folder)
        self.url = self.server.url

    def tearDown(self):
        if self.server:
            self.server.stop()

    def open_page(self, fragment=''):
        self.browser.get('about:blank')
        self.browser.get(self.url + 'index.html' + fragment)

    def await_canvas(self, expected, what, timeout=15):
        """Waits until the canvas shows `expected`; fails naming `what` otherwise. Reading
        fails while the page is being replaced: it is read again."""
        deadline, shown = time.time() + timeout, b''
        while time.time() < deadline:
            try:
                shown = base64.b64decode(self.browser.execute_script(READ_CANVAS))
            except Exception:
                shown = b''
            if rgb_of(shown) == expected:
                break
            time.sleep(0.05)
        self.assertEqual(len(shown), 4 * SIZE * SIZE, '%s: no canvas to read' % what)
        self.assertEqual(page_probes.differences(shown, expected), (0, 0),
                         '%s: pixels that differ from the native game, pixels not opaque' % what)

    def rect(self, element_id):
        return self.browser.execute_script(
            "const r = document.getElementById(arguments[0]).getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height,"
            " getComputedStyle(document.getElementById(arguments[0])).visibility];", element_id)

    def click_at(self, x, y):
        """A left click of the mouse at viewport point (x, y), CSS pixels."""
        self.browser.perform_actions([{
            'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'},
            'actions': [{'type': 'pointerMove', 'x': int(x), 'y': int(y), 'origin': 'viewport'},
                        {'type': 'pointerDown', 'button': 0},
                        {'type': 'pointerUp', 'button': 0}]}])

    def click(self, x, y):
        """A left click on framebuffer pixel (x, y), however the canvas is scaled."""
        left, top, width, height, _ = self.rect('screen')
        self.click_at(left + (x + 0.5) * width / SIZE, top + (y + 0.5) * height / SIZE)

    def test_game_matches_the_native_one_and_a_new_game_brings_the_menu(self):
        menu, board = reference([]), reference([MENU_CLICK])
        finished = reference([MENU_CLICK] + CELL_CLICKS)
        start = time.time()
        self.open_page('#seed=%d' % SEED)
        self.await_canvas(menu, 'menu')
        figures['%s: navigation to the menu on the canvas (ms)' % type(self).__name__] = round(
            1000 * (time.time() - start))

        self.click(*MENU_CLICK)
        self.await_canvas(board, 'board with the ring in cell 5')
        for x, y in CELL_CLICKS:
            self.click(x, y)
            time.sleep(0.15)
        self.await_canvas(finished, 'finished game with its banner')

        left, top, width, height, visibility = self.rect('new-game')
        self.assertEqual(visibility, 'visible', 'the end screen offers a new game')
        self.click_at(left + width / 2, top + height / 2)
        self.await_canvas(menu, 'the menu of the new game')
        self.assertEqual(self.rect('new-game')[4], 'hidden', 'no new game before the end')

    def test_choosing_a_control_places_a_cross(self):
        """As a screen reader chooses: a click event on a button over the canvas."""
        self.open_page('#seed=%d' % SEED)
        self.await_canvas(reference([]), 'menu')
        self.assertTrue(self.browser.execute_script(CHOOSE_CONTROL, 'Knecht Ruprecht, oben rechts'))
        self.await_canvas(reference([MENU_CLICK]), 'board with the ring in cell 5')
        self.assertTrue(self.browser.execute_script(CHOOSE_CONTROL, 'Feld oben links, frei'))
        self.await_canvas(reference([MENU_CLICK, CELL_CLICKS[0]]), 'the cross in cell 1')

    def test_starts_from_the_kept_files_with_the_server_stopped(self):
        menu = reference([])
        self.open_page()
        self.await_canvas(menu, 'menu')
        worker = self.browser.execute_async_script(AWAIT_WORKER)
        self.assertTrue(worker.endswith('/service-worker.js'), worker)
        self.server.stop()
        self.server = None
        self.open_page()
        self.await_canvas(menu, 'the menu with the server stopped')


class WebKitGTK(EngineGame, unittest.TestCase):
    start = WebKit


class Firefox(EngineGame, unittest.TestCase):
    # Without its own HTTP cache, a page that starts with the server stopped can only have
    # come from the service worker's kept files.
    start = functools.partial(marionette.Firefox, prefs={
        'browser.cache.disk.enable': False, 'browser.cache.memory.enable': False})


if __name__ == '__main__':
    result = unittest.main(exit=False, verbosity=2).result
    for name, value in figures.items():
        print('figure: %s: %s' % (name, value))
    sys.exit(0 if result.wasSuccessful() else 1)
