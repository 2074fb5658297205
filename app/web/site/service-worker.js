// Keeps the page's files, so that it opens without a network once visited.
// A file is answered from the cache at once and fetched anew behind it: the
// next visit gets what the host has now. Nothing else is kept.
'use strict';

const kCache = 'vindle-setup';
const kFiles = [
    './',
    'index.html',
    'page.css',
    'page.mjs',
    'vindle-session.mjs',
    'WindowRenderer.mjs',
    'lines.mjs',
    'station-log.mjs',
    'capture-file.mjs',
    'vindle.js',
    'vindle.wasm',
    'manifest.webmanifest',
    'vindle-setup.svg',
    'vindle-setup-192.png',
    'vindle-setup-512.png',
];

self.addEventListener('install', (event) => {
    event.waitUntil(
        caches
            .open(kCache)
            .then((cache) => cache.addAll(kFiles))
            .then(() => self.skipWaiting()),
    );
});

self.addEventListener('activate', (event) => {
    event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
    event.respondWith(
        caches.open(kCache).then(async (cache) => {
            const cached = await cache.match(request, { ignoreSearch: true });
            const fresh = fetch(request)
                .then((response) => {
                    if (response.ok) cache.put(request, response.clone());
                    return response;
                })
                .catch((error) => {
                    if (!cached) throw error;
                    return cached;
                });
            if (cached) {
                event.waitUntil(fresh.catch(() => {}));
                return cached;
            }
            return fresh;
        }),
    );
});
