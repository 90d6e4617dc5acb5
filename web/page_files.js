// SPDX-License-Identifier: MIT
// Runs first inside xmas-tictactoe.js (emcc --pre-js). The page serves the game's two pictures
// zlib-compressed (Menu.Vadi.zlib, Vadi.Vadi.zlib): they are fetched at once, beside the
// WebAssembly module, unpacked with the browser's DecompressionStream and written to /app,
// where ProgramDirectory points, before the game starts; the game reads them there through
// LoadPicture as it reads the files beside its program elsewhere. Once the game runs, the
// service worker (service-worker.js) is registered, which keeps the page's files for offline.
(function () {
  var names = ['Menu.Vadi', 'Vadi.Vadi'];
  var unpacked = Promise.all(names.map(function (name) {
    return fetch(name + '.zlib').then(function (response) {
      if (!response.ok) throw new Error(name + '.zlib: HTTP status ' + response.status);
      return new Response(response.body.pipeThrough(new DecompressionStream('deflate')))
        .arrayBuffer();
    });
  }));

  function registerWorker() {
    if (!('serviceWorker' in navigator)) return;  // no secure context, or an old browser
    navigator.serviceWorker.register('service-worker.js').catch(function (error) {
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
    }, function (error) {
      // The game still starts, as it does beside missing picture files elsewhere.
      console.error('xmas-tictactoe: the pictures did not load: ' + error);
    }).then(function () {
      removeRunDependency('xmas-pictures');
      registerWorker();
    });
  });
})();
