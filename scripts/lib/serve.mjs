// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A static web server for the web folder, as a school's server would send it: each file with its
// type (application/wasm for the module), compressed where the browser accepts it: the folder's
// own Brotli or gzip copy of the file where it has one (scripts/lib/precompress.mjs), else gzip
// made here.
//   node scripts/lib/serve.mjs FOLDER [PORT] [--room]
// serves FOLDER on 127.0.0.1 (PORT 8080 by default), or with --room on every address of this
// machine, for the other devices of the room.
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { gzipSync } from 'node:zlib';
import { copies } from './precompress.mjs';
import { pathToFileURL } from 'node:url';
import { networkInterfaces } from 'node:os';

const types = {
    '.html': 'text/html; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json',
    '.png': 'image/png',
    '.txt': 'text/plain; charset=utf-8',
};

// The encodings that an Accept-Encoding header accepts: those it names, less those given q=0.
function accepted(header) {
    const names = new Set();
    for (const part of (header ?? '').split(',')) {
        const [name, ...parameters] = part.split(';').map((piece) => piece.trim().toLowerCase());
        const weight = parameters.find((parameter) => parameter.startsWith('q='));
        if (name && !(weight && Number(weight.slice(2)) === 0))
            names.add(name);
    }
    return names;
}

// Serves FOLDER on HOST:PORT (0 for any free port); resolves to the server, whose
// address().port tells the port and whose close() stops it.
export function serve(folder, port = 0, host = '127.0.0.1') {
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
            const { mtimeMs } = await stat(file);
            const modified = new Date(Math.floor(mtimeMs / 1000) * 1000);
            const headers = {
                'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                'Cache-Control': 'no-cache',
                'Last-Modified': modified.toUTCString(),
                'Vary': 'Accept-Encoding',
            };
            const since = Date.parse(request.headers['if-modified-since'] ?? '');
            if (since >= modified.getTime()) {
                response.writeHead(304, headers).end();
                return;
            }
            server.sent.set(path, (server.sent.get(path) ?? 0) + 1);
            const encodings = accepted(request.headers['accept-encoding']);
            // A copy older than its file is of an earlier build.
            for (const [ending, encoding] of copies) {
                const copy = encodings.has(encoding)
                    && (await stat(file + ending).catch(() => null))?.mtimeMs >= mtimeMs
                    && await readFile(file + ending).catch(() => null);
                if (copy) {
                    headers['Content-Encoding'] = encoding;
                    server.encodings.set(path, `${encoding}, the folder's copy`);
                    response.writeHead(200, headers).end(copy);
                    return;
                }
            }
            if (encodings.has('gzip')) {
                const key = `${file} ${mtimeMs}`;
                if (!cache.has(key))
                    cache.set(key, gzipSync(body, { level: 9 }));
                headers['Content-Encoding'] = 'gzip';
                server.encodings.set(path, 'gzip, made here');
                response.writeHead(200, headers).end(cache.get(key));
            } else {
                server.encodings.set(path, 'as it is');
                response.writeHead(200, headers).end(body);
            }
        } catch (error) {
            response.writeHead(500).end(String(error));
        }
    });
    // How many times each path was sent whole, and how it was sent the last time.
    server.sent = new Map();
    server.encodings = new Map();
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
        server.listen(port, host, () => done(server));
    });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const room = process.argv.includes('--room');
    const [folder, port = '8080'] = process.argv.slice(2).filter((argument) => argument !== '--room');
    if (!folder || !/^[0-9]+$/.test(port)) {
        console.error('usage: node scripts/lib/serve.mjs FOLDER [PORT] [--room]');
        process.exit(2);
    }
    const server = await serve(folder, Number(port), room ? '0.0.0.0' : '127.0.0.1');
    const at = server.address().port;
    console.log(`Corvallo is at http://127.0.0.1:${at}/ (Ctrl+C ends)`);
    if (room) {
        for (const address of Object.values(networkInterfaces()).flat())
            if (address.family === 'IPv4' && !address.internal)
                console.log(`  and for the room's devices at http://${address.address}:${at}/`);
        console.log('A browser keeps Corvallo for use without a network only from this machine or over HTTPS:');
        console.log('the other devices can play it here, but to have it offline they need it served over HTTPS');
        console.log('(see docs/web.md, "Serving it at school").');
    }
}
