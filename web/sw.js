// Keeps every file of the page, so that it opens and works with the network
// gone: each answer from the cache first, the network only for what is not
// there. Caches of other editions of the page are dropped once this one is
// in place; caches of anything else on the same server are left alone.
const CACHE = '@CACHE@';
const FILES = [@FILES@];

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name.startsWith('sorelin-') && name !== CACHE)
            .map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

// The folder's own address opens the page, as the server would.
async function answer(request) {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(request, { ignoreSearch: true })
        || (request.mode === 'navigate' && await cache.match('index.html'));
    return kept || fetch(request);
}

self.addEventListener('fetch', (event) => {
    if (event.request.method === 'GET')
        event.respondWith(answer(event.request));
});
