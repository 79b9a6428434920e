// SPDX-License-Identifier: GPL-3.0-or-later
// Starts Pendro in its page (index.html): checks that the browser can run it, has the service
// worker keep the page's files for offline use, loads the program with a progress indicator and
// says in German what went wrong, or that Pendro has ended, with a way to try again.
'use strict';

(() => {
    const page = document.documentElement.dataset;
    const program = page.program; // "pendro", or the benchmark's floor
    const release = page.release; // a hash of the page's files: the same names as the worker's
    const wasmSize = Number(page.wasmSize); // for the progress indicator
    const screen = document.getElementById('screen');
    const notice = document.getElementById('notice');
    const status = document.getElementById('status');
    const progress = document.getElementById('progress');
    const actions = document.getElementById('actions');
    const retry = document.getElementById('retry');
    const restart = document.getElementById('restart');

    // What the page shows when Pendro does not run: a text and, where it helps, a button.
    const showNotice = (text, { retryButton = false, restartLink = false } = {}) => {
        screen.hidden = true;
        notice.hidden = false;
        status.textContent = text;
        progress.hidden = true;
        retry.hidden = !retryButton;
        restart.hidden = !restartLink;
        actions.hidden = !retryButton && !restartLink;
        document.title = 'Pendro';
    };

    // WebAssembly with its own exceptions (try/catch_all), as Pendro is built: every current
    // browser has it (Chrome and Edge 95, Firefox 100, Safari 15.2 and later).
    const exceptionsModule = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 4, 1, 96, 0, 0, 3,
        2, 1, 0, 10, 8, 1, 6, 0, 6, 64, 25, 11, 11]);
    const canRunPendro = () => {
        try {
            return typeof WebAssembly === 'object' && WebAssembly.validate(exceptionsModule)
                && typeof BigInt === 'function';
        } catch (e) {
            return false;
        }
    };

    // The service worker keeps the files, so that Pendro starts without a network after the
    // first visit. Browsers allow it on https and on this machine (localhost) only. On the first
    // visit the page waits until the worker is in charge, so that the program's files pass
    // through it once and are kept, rather than downloaded twice.
    const serviceWorkerInCharge = async () => {
        if (!('serviceWorker' in navigator) || !window.isSecureContext)
            return;
        try {
            const registration = navigator.serviceWorker.register('service-worker.js');
            if (navigator.serviceWorker.controller)
                return;
            await registration;
            await Promise.race([
                new Promise(resolve => navigator.serviceWorker.addEventListener(
                    'controllerchange', resolve, { once: true })),
                new Promise(resolve => setTimeout(resolve, 5000)),
            ]);
        } catch (e) {
            console.warn('Pendro: no offline copy', e);
        }
    };

    const percent = bytes => Math.min(100, Math.round(100 * bytes / wasmSize));

    // The program's WebAssembly, read with progress; fails with a message for the user when the
    // download breaks off.
    const downloadProgram = async () => {
        const response = await fetch(`${program}.wasm?v=${release}`);
        if (!response.ok)
            throw new Error(`${program}.wasm: ${response.status}`);
        const reader = response.body.getReader();
        const chunks = [];
        let received = 0;
        for (;;) {
            const { done, value } = await reader.read();
            if (done)
                break;
            chunks.push(value);
            received += value.length;
            progress.value = percent(received);
            status.textContent = `Pendro wird geladen … ${percent(received)} %`;
        }
        const bytes = new Uint8Array(received);
        let offset = 0;
        for (const chunk of chunks) {
            bytes.set(chunk, offset);
            offset += chunk.length;
        }
        return bytes;
    };

    const loadScript = src => new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = src;
        script.onload = resolve;
        script.onerror = () => {
            script.remove();
            reject(new Error(`${src} could not be loaded`));
        };
        document.body.appendChild(script);
    });

    // Qt's hidden button that switches its accessibility elements on, in German. Qt keeps its
    // windows in a shadow root below the screen element, which is watched as soon as it is there.
    const watchedRoots = new Set();
    const germanScreenReaderButtons = new MutationObserver(() => {
        for (const host of [screen, ...screen.querySelectorAll('*')]) {
            const root = host.shadowRoot;
            if (root && !watchedRoots.has(root)) {
                watchedRoots.add(root);
                germanScreenReaderButtons.observe(root, { childList: true, subtree: true });
                // Window titles in the sans-serif of the windows, not Qt's Lucida Grande,
                // which only Macs have (elsewhere a serif font stands in).
                const style = document.createElement('style');
                style.textContent = '.title-bar .window-name { font-family: "Liberation Sans", '
                    + 'Arial, Helvetica, sans-serif; }';
                root.appendChild(style);
            }
        }
        for (const root of [screen, ...watchedRoots]) {
            for (const button of root.querySelectorAll('button')) {
                if (button.textContent === 'Enable Screen Reader') {
                    button.textContent = 'Bildschirmleser einschalten';
                    // Pendro keeps the elements' places up to date from then on (page.cpp).
                    button.addEventListener('click', () => { window.pendroScreenReader = true; });
                }
            }
        }
    });

    let running = false;
    const start = async () => {
        notice.hidden = false;
        actions.hidden = true;
        progress.hidden = false;
        progress.removeAttribute('value');
        status.textContent = 'Pendro wird geladen …';
        if (!canRunPendro()) {
            showNotice('Dieser Browser kann Pendro nicht ausführen: Pendro braucht WebAssembly, '
                + 'das alle aktuellen Browser beherrschen (Chrome und Edge ab Version 95, Firefox '
                + 'ab 100, Safari ab 15.2), hier aber fehlt oder ausgeschaltet ist. Bitte den '
                + 'Browser aktualisieren oder einen anderen verwenden.');
            return;
        }
        let module;
        try {
            await serviceWorkerInCharge();
            const [bytes] = await Promise.all([
                downloadProgram(),
                window[`${program}_entry`] ? null : loadScript(`${program}.js?v=${release}`),
            ]);
            performance.mark('pendro-downloaded');
            status.textContent = 'Pendro wird gestartet …';
            module = WebAssembly.compile(bytes);
            await module;
            performance.mark('pendro-compiled');
        } catch (e) {
            console.error(e);
            showNotice('Pendro konnte nicht vollständig geladen werden: Die Verbindung zum Server '
                + 'ist abgebrochen. Bitte die Verbindung prüfen und es erneut versuchen.',
                { retryButton: true });
            return;
        }
        const size = new URLSearchParams(location.search).get('size');
        germanScreenReaderButtons.observe(screen, { childList: true, subtree: true });
        running = true;
        try {
            // The marks show where a start's time goes (bench/web_bench.py prints them).
            await qtLoad({
                arguments: size ? [size] : [],
                qt: {
                    module,
                    entryFunction: window[`${program}_entry`],
                    containerElements: [screen],
                    onLoaded: () => {
                        performance.mark('pendro-instantiated');
                        notice.hidden = true;
                        screen.hidden = false;
                    },
                    onExit: exit => {
                        if (!running)
                            return;
                        running = false;
                        console.error('Pendro stopped', exit);
                        showNotice('Pendro ist auf einen Fehler gestoßen und musste beendet '
                            + 'werden. Eingaben sind dabei verloren gegangen.',
                            { restartLink: true });
                    },
                },
            });
            performance.mark('pendro-main-returned');
        } catch (e) {
            console.error(e);
            if (running) {
                running = false;
                showNotice('Pendro konnte nicht gestartet werden.', { restartLink: true });
            }
        }
    };

    // A browser keeps Ctrl+W (a trainer's "close" on the desktop) and Ctrl+Q for itself and
    // closes the page instead: while Pendro runs, the browser asks before the page goes.
    window.addEventListener('beforeunload', event => {
        if (running)
            event.preventDefault();
    });

    // "Beenden", or the main window closed: the program has closed its last window.
    window.addEventListener('pendro-ended', () => {
        running = false;
        germanScreenReaderButtons.disconnect();
        watchedRoots.clear();
        showNotice('Pendro wurde beendet.', { restartLink: true });
    });
    retry.addEventListener('click', start);
    start();
})();
