// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps Pendro's files in the browser, so that the page starts without a network after the first
// visit, and takes the next version when the files on the server change. scripts/web.sh fills in
// the release (a hash of all files, which is also in index.html) and the list of files.
//
// The page asks for its program files with ?v=<release>, so a cached file always belongs to the
// page that asks for it. The page itself comes from the network while there is one (so that a
// new release is seen at once) and from the cache when there is none. The worker asks for nothing
// outside Pendro's own folder and keeps nothing but these files.
'use strict';

const release = '@CACHE@';
const cacheName = `pendro-${release}`;
// The page, the small files and the program (the page asks for the program's .wasm itself, with a
// progress indicator, and this worker keeps it as it passes).
const files = [@FILES@];
const downloadedByThePage = new Set([@PAGE_FILES@]);
const networkWait = 4000; // ms before a slow network loses to the kept page

self.addEventListener('install', event => {
    event.waitUntil((async () => {
        const cache = await caches.open(cacheName);
        for (const file of files) {
            const request = new Request(file, { cache: 'no-cache' });
            // Kept by an earlier release under the same name (the same content), or fetched now.
            const kept = await caches.match(request);
            if (kept)
                await cache.put(request, kept);
            else if (!downloadedByThePage.has(file))
                await cache.add(request);
        }
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', event => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (name.startsWith('pendro-') && name !== cacheName)
                await caches.delete(name);
        }
        await self.clients.claim();
    })());
});

// The response goes to the page at once (its progress indicator counts the bytes as they come);
// a copy is kept as it passes, unless the download breaks off.
const fromNetworkAndKeep = async (event, request) => {
    const response = await fetch(request);
    if (response.ok) {
        const copy = response.clone();
        event.waitUntil(caches.open(cacheName).then(cache => cache.put(request, copy))
            .catch(() => undefined));
    }
    return response;
};

self.addEventListener('fetch', event => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)
        return;
    if (request.mode === 'navigate') {
        event.respondWith((async () => {
            const network = fromNetworkAndKeep(event, request);
            const late = new Promise(resolve => setTimeout(resolve, networkWait));
            try {
                const answer = await Promise.race([network, late]);
                if (answer)
                    return answer;
            } catch (e) {
                // no network: the kept page below
            }
            const kept = await caches.match(request, { ignoreSearch: true });
            return kept || network;
        })());
        return;
    }
    event.respondWith((async () => (await caches.match(request))
        || fromNetworkAndKeep(event, request))());
});
