// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Starts Corvallo in the page: fetches its module with a progress bar, passes it the level from
// the address (?livello=4) as its command line, and shows its messages and its end.
'use strict';

(function () {
    const screen = document.getElementById('screen');
    const loading = document.getElementById('loading');
    const progress = document.getElementById('progress');
    const ended = document.getElementById('ended');
    const message = document.getElementById('message');
    const endedText = document.getElementById('ended-text');

    // Works offline after the first visit; a new version is fetched in the background and taken
    // on the next visit. Registered once the program has started, so that the worker finds the
    // files in the browser's cache instead of fetching them a second time, and keeping them does
    // not slow the start. Only a secure page (HTTPS or this machine) has a worker.
    function keepForOffline() {
        if ('serviceWorker' in navigator)
            navigator.serviceWorker.register('sw.js').catch(function () { });
    }

    // Starts again at the menu: a level from the address may be the very one that was refused.
    document.getElementById('again').addEventListener('click', function () {
        location.assign(location.pathname);
    });

    let over = false;
    function showEnd(text) {
        if (over)
            return;
        over = true;
        screen.hidden = true;
        loading.hidden = true;
        if (text)
            endedText.textContent = text;
        ended.hidden = false;
        document.getElementById('again').focus();
    }

    function loadScript(src) {
        return new Promise(function (resolve, reject) {
            const script = document.createElement('script');
            script.src = src;
            script.onload = resolve;
            script.onerror = function () { reject(new Error('cannot load ' + src)); };
            document.body.appendChild(script);
        });
    }

    // The module's bytes as they arrive, counted against its size, known from the build: a
    // compressed transfer tells only its compressed length.
    async function fetchModule() {
        const response = await fetch('corvallo.wasm');
        if (!response.ok)
            throw new Error('corvallo.wasm: ' + response.status + ' ' + response.statusText);
        const reader = response.body.getReader();
        const chunks = [];
        let received = 0;
        for (;;) {
            const { done, value } = await reader.read();
            if (done)
                break;
            chunks.push(value);
            received += value.length;
            progress.value = received;
        }
        const bytes = new Uint8Array(received);
        let at = 0;
        for (const chunk of chunks) {
            bytes.set(chunk, at);
            at += chunk.length;
        }
        return WebAssembly.compile(bytes);
    }

    const parameters = new URLSearchParams(location.search);
    const config = {
        // The level as on the command line: "?livello=4" is "corvallo 4".
        arguments: parameters.getAll('livello'),
        qtContainerElements: [screen],
        qtCanvasElements: [screen],
        qtFontDpi: 96,
        preRun: [function (module) {
            // A test may set the program's environment (the seed of its random numbers).
            Object.assign(module.ENV, window.corvalloEnvironment || {});
            loading.hidden = true;
            screen.hidden = false;
            screen.focus();
        }],
        print: function (text) { console.log(text); },
        printErr: function (text) { console.warn(text); },
        corvalloTell: function (error, text) {
            message.textContent += text;
        },
        corvalloEnded: function (status) {
            showEnd(status === 0 ? null : 'Corvallo è terminato (stato ' + status + ').');
        },
        onExit: function (status) {
            config.corvalloEnded(status);
        },
        onAbort: function (what) {
            showEnd('Corvallo si è fermato per un errore: ' + what);
        },
    };

    Promise.all([fetchModule(), loadScript('corvallo.js')]).then(function ([module]) {
        setTimeout(keepForOffline, 3000);
        config.instantiateWasm = function (imports, receive) {
            WebAssembly.instantiate(module, imports).then(function (instance) {
                receive(instance, module);
            }, config.onAbort);
            return {};
        };
        return window.createQtAppInstance(config);
    }).catch(function (error) {
        showEnd('Corvallo non è partito: ' + error.message);
    });
})();
