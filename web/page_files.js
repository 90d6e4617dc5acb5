// SPDX-License-Identifier: MIT
// Runs first inside xmas-tictactoe.js (emcc --pre-js). It loads what the game needs before it
// starts, and says on the page (xmasFailed, in index.html) which file failed and what the host
// answered, in place of a blank or magenta board:
//   - the WebAssembly module, whose download index.html started beside this script's;
//   - the game's two pictures, served zlib-compressed (Menu.Vadi.zlib, Vadi.Vadi.zlib): they
//     are unpacked with the browser's DecompressionStream and written to /app, where
//     ProgramDirectory points; the game reads them there through LoadPicture as it reads the
//     files beside its program elsewhere.
// Once the game waits at its menu, the page names its manifest (so that its icon is fetched
// after the menu shows) and registers the service worker (service-worker.js), which keeps the page's files.
(function () {
  function failed(file, answer) {
    if (typeof xmasFailed === 'function') xmasFailed(file, answer);
    throw new Error(file + ': ' + answer);
  }
  function fetched(file, request) {
    return (request || fetch(file)).then(function (response) {
      if (!response.ok) failed(file, xmasAnswer(response));
      return response;
    }, function () { failed(file, 'the host did not answer'); });
  }

  var names = ['Menu.Vadi', 'Vadi.Vadi'];
  var unpacked = Promise.all(names.map(function (name) {
    var file = name + '.zlib';
    return fetched(file).then(function (response) {
      var type = response.headers.get('Content-Type') || 'no type';
      return new Response(response.body.pipeThrough(new DecompressionStream('deflate')))
        .arrayBuffer().catch(function () {
          failed(file, 'not a compressed picture, the host answered ' + response.status + ' (' +
                       type + ')');
        });
    });
  }));

  Module['instantiateWasm'] = function (imports, receive) {
    var file = 'xmas-tictactoe.wasm';
    fetched(file, typeof xmasModule !== 'undefined' ? xmasModule : undefined)
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

  Module['preRun'] = [].concat(Module['preRun'] || [], function () {
    addRunDependency('xmas-pictures');
    unpacked.then(function (files) {
      FS.mkdir('/app');
      files.forEach(function (bytes, i) {
        FS.writeFile('/app/' + names[i], new Uint8Array(bytes));
      });
      removeRunDependency('xmas-pictures');
    }, function (error) {
      console.error('xmas-tictactoe: ' + error.message);
    });
  });
  Module['postRun'] = [].concat(Module['postRun'] || [], registerWorker);  // at the menu
})();
