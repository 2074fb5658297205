// Serves the page's files (build-web/site/) on localhost, as any static host
// would, with the headers a host should send. Web Serial and the service
// worker need a secure context, which http://localhost is.
//   node scripts/serve-site.mjs [DIR] [PORT]      (default build-web/site 8080)
// The tests and benchmarks import serveSite().
import { createReadStream, readFileSync } from 'node:fs';
import { stat } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createGzip } from 'node:zlib';

const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.json': 'application/json',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
};

// The page's own policy (index.html), sent as a header too, where it can
// also forbid framing the page.
function securityPolicy(root) {
    const page = readFileSync(path.join(root, 'index.html'), 'utf8');
    const policy = page.match(/http-equiv="Content-Security-Policy" content="([^"]*)"/)[1];
    return `${policy}; frame-ancestors 'none'`;
}

// Starts serving `root` on `port` (0: any free one); resolves to the server.
// `onServed(path, bytes)` hears of every file sent, with the bytes that went
// out (compressed when the browser takes gzip; none for a copy it still has).
export function serveSite(root, port = 8080, onServed = () => {}) {
    const contentSecurityPolicy = securityPolicy(root);
    const server = http.createServer(async (request, response) => {
        const url = new URL(request.url, 'http://localhost');
        let file = path.join(root, path.normalize(decodeURIComponent(url.pathname)));
        const head = request.method === 'HEAD';
        if (!file.startsWith(root) || !(head || request.method === 'GET')) {
            response.writeHead(file.startsWith(root) ? 405 : 403).end();
            return;
        }
        try {
            if ((await stat(file)).isDirectory()) file = path.join(file, 'index.html');
            const info = await stat(file);
            const tag = `"${info.size.toString(16)}-${info.mtimeMs.toString(16)}"`;
            const headers = {
                'Content-Type': kTypes[path.extname(file)] ?? 'application/octet-stream',
                'Content-Security-Policy': contentSecurityPolicy,
                'X-Content-Type-Options': 'nosniff',
                'Referrer-Policy': 'no-referrer',
                // The page shares its window with no other origin.
                'Cross-Origin-Opener-Policy': 'same-origin',
                'Cross-Origin-Embedder-Policy': 'require-corp',
                // Asked anew every time, answered "not modified" while it is not.
                'Cache-Control': 'no-cache',
                ETag: tag,
                Vary: 'Accept-Encoding',
            };
            if (head) {
                response.writeHead(200, { ...headers, 'Content-Length': info.size }).end();
                return;
            }
            if (request.headers['if-none-match'] === tag) {
                response.writeHead(304, headers).end();
                onServed(url.pathname, 0);
                return;
            }
            let body = createReadStream(file);
            if (/\bgzip\b/.test(request.headers['accept-encoding'] ?? '') && !file.endsWith('.png')) {
                headers['Content-Encoding'] = 'gzip';
                body = body.pipe(createGzip());
            } else {
                headers['Content-Length'] = info.size;
            }
            response.writeHead(200, headers);
            let sent = 0;
            body.on('data', (chunk) => (sent += chunk.length));
            body.on('end', () => onServed(url.pathname, sent));
            body.pipe(response);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, '127.0.0.1', () => resolve(server));
    });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const root = path.resolve(process.argv[2] ?? 'build-web/site');
    const server = await serveSite(root, Number(process.argv[3] ?? 8080));
    console.log(`The page is at http://localhost:${server.address().port}/ (Ctrl+C stops serving)`);
}
