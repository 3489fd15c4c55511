// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A static web server for the web folder, as a school's server would send it: each file with its
// type (application/wasm for the module), compressed with gzip where the browser accepts it.
//   node scripts/lib/serve.mjs FOLDER [PORT]   serves FOLDER on 127.0.0.1 (PORT 8080 by default)
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { gzipSync } from 'node:zlib';
import { pathToFileURL } from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.png': 'image/png',
    '.txt': 'text/plain; charset=utf-8',
};

// Serves FOLDER on 127.0.0.1:PORT (0 for any free port); resolves to the server, whose
// address().port tells the port and whose close() stops it.
export function serve(folder, port = 0) {
    const root = resolve(folder);
    const cache = new Map();
    const server = createServer(async (request, response) => {
        try {
            let path;
            try {
                path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
            } catch {
                response.writeHead(400).end();
                return;
            }
            let file = normalize(join(root, path));
            if (file !== root && !file.startsWith(root + sep)) {
                response.writeHead(403).end();
                return;
            }
            if ((await stat(file).catch(() => null))?.isDirectory())
                file = join(file, 'index.html');
            const body = await readFile(file).catch(() => null);
            if (!body) {
                response.writeHead(404, { 'Content-Type': types['.txt'] }).end('not found\n');
                return;
            }
            // Checked with the server at each use, and not sent again while unchanged.
            const modified = new Date(Math.floor((await stat(file)).mtimeMs / 1000) * 1000);
            const headers = {
                'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache',
                'Last-Modified': modified.toUTCString(),
            };
            const since = Date.parse(request.headers['if-modified-since'] ?? '');
            if (since >= modified.getTime()) {
                response.writeHead(304, headers).end();
                return;
            }
            server.sent.set(path, (server.sent.get(path) ?? 0) + 1);
            if (/\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
                const key = `${file} ${(await stat(file)).mtimeMs}`;
                if (!cache.has(key))
                    cache.set(key, gzipSync(body, { level: 9 }));
                headers['Content-Encoding'] = 'gzip';
                response.writeHead(200, headers).end(cache.get(key));
            } else {
                response.writeHead(200, headers).end(body);
            }
        } catch (error) {
            response.writeHead(500).end(String(error));
        }
    });
    // How many times each path was sent whole.
    server.sent = new Map();
    // A stopped server ends the connections a browser keeps open, too.
    const sockets = new Set();
    server.on('connection', (socket) => {
        sockets.add(socket);
        socket.on('close', () => sockets.delete(socket));
    });
    const close = server.close.bind(server);
    server.close = () => new Promise((done) => {
        close(done);
        for (const socket of sockets)
            socket.destroy();
    });
    return new Promise((done, failed) => {
        server.once('error', failed);
        server.listen(port, '127.0.0.1', () => done(server));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const [folder, port = '8080'] = process.argv.slice(2);
    if (!folder) {
        console.error('usage: node scripts/lib/serve.mjs FOLDER [PORT]');
        process.exit(2);
    }
    const server = await serve(folder, Number(port));
    console.log(`Corvallo is at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
