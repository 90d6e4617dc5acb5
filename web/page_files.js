// SPDX-License-Identifier: MIT
// Runs first inside xmas-tictactoe.js (emcc --pre-js). It loads what the game needs, and says
// on the page (xmasFailed, in index.html) which file failed and what the host answered, in
// place of a blank or magenta board:
//   - the WebAssembly module and the menu's picture, whose downloads index.html started beside
//     this script's (xmasEarly);
//   - the game's picture files (PICTURES), packed pictures that the game's LoadPicture
//     unpacks. The page has no file system: it holds their bytes
//     by their paths in /app, where ProgramDirectory points (Module.xmasFiles), and the game
//     opens them there through LoadPicture as it opens the files beside its program
//     elsewhere (src/layer/browser/browser_picture_file.cpp). The menu's picture is fetched
//     before the game starts; the board's once the menu shows, so that the menu does not wait
//     for it. A game that opens a file still arriving waits for it; one whose fetch failed
//     opens as a missing file.
// Once the game waits at its menu, the page also names its manifest (so that its icon is
// fetched after the menu shows) and registers the service worker (service-worker.js), which
// keeps the page's files.
(function () {
  // The picture files: the name the host serves, the path in /app the game opens, and whether
  // the game needs it to start (otherwise it is fetched once the menu shows).
  var PICTURES = [
    {served: 'Menu.Vadi', path: '/app/Menu.Vadi', start: true},
    {served: 'Vadi.Vadi', path: '/app/Vadi.Vadi', start: false}
  ];
  var PACKED_FIRST_BYTE = 0xFC;
  var early = typeof xmasEarly !== 'undefined' ? xmasEarly : {};

  function failed(file, answer) {
    if (typeof xmasFailed === 'function') xmasFailed(file, answer);
    throw new Error(file + ': ' + answer);
  }
  function fetched(file) {
    return (early[file] || fetch(file)).then(function (response) {
      if (!response.ok) failed(file, xmasAnswer(response));
      return response;
    }, function () { failed(file, 'the host did not answer'); });
  }
  function logged(error) {
    console.error('xmas-tictactoe: ' + error.message);
  }

  // What the page holds of each picture file: its bytes once arrived, `failed` once its fetch
  // failed, and meanwhile the opens that wait for it.
  var files = Module['xmasFiles'] = PICTURES.map(function (picture) {
    return {path: picture.path, bytes: null, failed: false, waiting: []};
  });
  function fetchPicture(picture, i) {
    var file = files[i];
    function settle(bytes) {
      file.bytes = bytes;
      file.failed = !bytes;
      file.waiting.splice(0).forEach(function (wake) { wake(); });
    }
    var name = picture.served;
    return fetched(name).then(function (response) {
      var type = response.headers.get('Content-Type') || 'no type';
      return response.arrayBuffer().then(function (buffer) {
        var bytes = new Uint8Array(buffer);
        if (bytes[0] !== PACKED_FIRST_BYTE) {  // a host's own page, say, in the picture's place
          failed(name, 'not a picture, the host answered ' + response.status + ' (' + type + ')');
        }
        return bytes;
      }, function () { failed(name, 'the host did not answer'); });
    }).then(settle, function (error) { settle(null); throw error; });
  }
  function fetchPictures(atStart) {
    return Promise.all(PICTURES.map(function (picture, i) {
      return picture.start === atStart ? fetchPicture(picture, i) : null;
    }));
  }
  var starting = fetchPictures(true);

  Module['instantiateWasm'] = function (imports, receive) {
    var file = 'xmas-tictactoe.wasm';
    fetched(file)
      .then(function (response) {
        var type = response.headers.get('Content-Type') || 'no type';
        var started = type === 'application/wasm' && WebAssembly.instantiateStreaming
          ? WebAssembly.instantiateStreaming(response, imports)
          : response.arrayBuffer().then(function (bytes) {
            return WebAssembly.instantiate(bytes, imports);
          });
        return started.catch(function (error) {
          failed(file, 'not the game\'s module, the host answered ' + response.status + ' (' +
                       type + '): ' + error.message);
        });
      })
      .then(function (result) { receive(result.instance, result.module); });
    return {};
  };

  function registerWorker() {
    var manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'xmas-tictactoe.webmanifest';
    document.head.appendChild(manifest);
    if (!('serviceWorker' in navigator)) return;  // no secure context, or an old browser
    // A page the worker answered also looks for a new build now, in the background.
    navigator.serviceWorker.register('service-worker.js').then(function (registration) {
      if (navigator.serviceWorker.controller) {
        registration.update().catch(function () {});  // tried again at the next load
      }
    }, function (error) {
      console.warn('xmas-tictactoe: no offline copy: ' + error);
    });
  }

  // The game starts once the files it needs to start have arrived; it does not start when one
  // of them fails.
  Module['preRun'] = [].concat(Module['preRun'] || [], function () {
    addRunDependency('xmas-pictures');
    starting.then(function () { removeRunDependency('xmas-pictures'); }, logged);
  });
  Module['postRun'] = [].concat(Module['postRun'] || [], function () {  // at the menu
    fetchPictures(false).catch(logged);
    registerWorker();
  });
})();
