# SPDX-License-Identifier: MIT
"""Headless Firefox driven through its own remote protocol, Marionette, with the few commands
of a Selenium driver the browser tests use. Marionette sends and takes "LENGTH:JSON" messages
over TCP: a command is [0, id, name, parameters], its reply [1, id, error, result]."""
import json
import os
import socket
import subprocess
import tempfile
import time

# Firefox asks the network for updates, telemetry, safe-browsing lists and more when it starts;
# these keep it quiet, so that the page's own requests are the only ones.
QUIET = {
    'browser.shell.checkDefaultBrowser': False,
    'browser.startup.page': 0,
    'browser.startup.homepage_override.mstone': 'ignore',
    'browser.aboutwelcome.enabled': False,
    'app.update.enabled': False,
    'app.update.auto': False,
    'app.normandy.enabled': False,
    'extensions.update.enabled': False,
    'extensions.getAddons.cache.enabled': False,
    'datareporting.policy.dataSubmissionEnabled': False,
    'datareporting.healthreport.uploadEnabled': False,
    'toolkit.telemetry.enabled': False,
    'toolkit.telemetry.server': '',
    'browser.safebrowsing.malware.enabled': False,
    'browser.safebrowsing.phishing.enabled': False,
    'browser.safebrowsing.downloads.enabled': False,
    'browser.safebrowsing.update.enabled': False,
    'services.settings.server': 'http://127.0.0.1:9/',
    'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False,
    'browser.newtabpage.enabled': False,
    'browser.region.network.url': '',
    'media.gmp-manager.url': 'http://127.0.0.1:9/',
}


class Firefox:
    def __init__(self, binary='/usr/bin/firefox-esr', prefs=None):
        self.profile = tempfile.TemporaryDirectory()
        with socket.socket() as s:
            s.bind(('127.0.0.1', 0))
            port = s.getsockname()[1]
        with open(os.path.join(self.profile.name, 'user.js'), 'w') as out:
            for name, value in dict(QUIET, **(prefs or {}), **{'marionette.port': port}).items():
                out.write('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)))
        self.process = subprocess.Popen(
            [binary, '--headless', '--marionette', '--no-remote', '--profile', self.profile.name],
            env={'HOME': self.profile.name, 'PATH': '/usr/bin:/bin'},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 30
        while True:
            try:
                self.socket = socket.create_connection(('127.0.0.1', port))
                break
            except OSError:
                if time.time() > deadline or self.process.poll() is not None:
                    raise RuntimeError('Firefox opened no Marionette port')
                time.sleep(0.1)
        self.stream, self.last_id = self.socket.makefile('rb'), 0
        greeting = self.receive()
        assert greeting.get('marionetteProtocol') == 3, greeting
        self.command('WebDriver:NewSession', {'capabilities': {'alwaysMatch': {}}})

    def receive(self):
        length = b''
        while not length.endswith(b':'):
            byte = self.stream.read(1)
            if not byte:
                raise OSError('Firefox closed the Marionette connection')
            length += byte
        return json.loads(self.stream.read(int(length[:-1])))

    def command(self, name, parameters=None):
        self.last_id += 1
        message = json.dumps([0, self.last_id, name, parameters or {}]).encode()
        self.socket.sendall(b'%d:%s' % (len(message), message))
        kind, answered, error, result = self.receive()
        assert (kind, answered) == (1, self.last_id)
        if error:
            raise RuntimeError('%s: %s: %s' % (name, error.get('error'), error.get('message')))
        return result.get('value') if isinstance(result, dict) else result

    def get(self, url):
        self.command('WebDriver:Navigate', {'url': url})

    def execute_script(self, script, *args):
        return self.command('WebDriver:ExecuteScript', {'script': script, 'args': list(args)})

    def execute_async_script(self, script, *args):
        return self.command('WebDriver:ExecuteAsyncScript', {'script': script, 'args': list(args)})

    def perform_actions(self, actions):
        self.command('WebDriver:PerformActions', {'actions': actions})
        self.command('WebDriver:ReleaseActions')

    def quit(self):
        try:
            self.command('WebDriver:DeleteSession')
            self.command('Marionette:Quit')
        except (OSError, RuntimeError, ValueError):
            pass
        self.socket.close()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.profile.cleanup()
