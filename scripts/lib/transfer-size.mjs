// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What a web server sends of the web folder: each file compressed with gzip (any server) or Brotli
// (where the server has it), at their strongest.
//   node scripts/lib/transfer-size.mjs FOLDER   prints the sizes in KiB
import { readdirSync, readFileSync, statSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

// The folder's files (not its LICENSES, which no page asks for) in bytes: the module as it is,
// and the whole sent with gzip and with Brotli.
export function transferSizes(folder) {
    let gzip = 0, brotli = 0;
    for (const name of readdirSync(folder)) {
        const path = `${folder}/${name}`;
        if (!statSync(path).isFile())
            continue;
        const bytes = readFileSync(path);
        gzip += gzipSync(bytes, { level: 9 }).length;
        brotli += brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11,
            [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } }).length;
    }
    return { wasm: statSync(`${folder}/corvallo.wasm`).size, gzip, brotli };
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const folder = process.argv[2];
    const { wasm, gzip, brotli } = transferSizes(folder);
    const kib = (n) => Math.ceil(n / 1024);
    console.log(`The web folder is ${folder}: corvallo.wasm ${kib(wasm)} KiB; sent with gzip -9 `
        + `${kib(gzip)} KiB, with Brotli ${kib(brotli)} KiB`);
}
