// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a web server sends of the web folder: each file compressed with gzip (any server) or Brotli
// (where the server has it), at their strongest: the folder's own copies where it has them
// (scripts/lib/precompress.mjs), as a server that sends them would.
//   node scripts/lib/transfer-size.mjs FOLDER   prints the sizes in KiB
import { existsSync, readdirSync, readFileSync, statSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { compress, copies } from './precompress.mjs';

// The folder's files (not its LICENSES, which no page asks for, nor the copies) in bytes: the
// module as it is, and the whole sent with gzip and with Brotli.
export function transferSizes(folder) {
    const sent = { gzip: 0, br: 0 };
    for (const name of readdirSync(folder)) {
        const path = `${folder}/${name}`;
        if (!statSync(path).isFile() || copies.some(([ending]) => name.endsWith(ending)))
            continue;
        const bytes = readFileSync(path);
        for (const [ending, encoding] of copies) {
            const size = existsSync(path + ending) ? statSync(path + ending).size
                : compress(bytes, encoding).length;
            sent[encoding] += Math.min(size, bytes.length);
        }
    }
    return { wasm: statSync(`${folder}/corvallo.wasm`).size, gzip: sent.gzip, brotli: sent.br };
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const folder = process.argv[2];
    const { wasm, gzip, brotli } = transferSizes(folder);
    const kib = (n) => Math.ceil(n / 1024);
    console.log(`The web folder is ${folder}: corvallo.wasm ${kib(wasm)} KiB; sent with gzip (level 9) `
        + `${kib(gzip)} KiB, with Brotli ${kib(brotli)} KiB`);
}
