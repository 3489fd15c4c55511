// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Brotli and gzip copies of the web folder's large files, beside them (corvallo.wasm.br,
// corvallo.wasm.gz), at their strongest, for a server that sends a copy as it is instead of
// compressing each request (nginx's gzip_static and brotli_static, Apache's and IIS's rules in
// docs/web.md). The same files give the same copies, byte for byte.
//   node scripts/lib/precompress.mjs FOLDER
import { readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { extname } from 'node:path';
import { pathToFileURL } from 'node:url';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

// The copies' endings, with the Content-Encoding a server sends each under.
export const copies = [['.br', 'br'], ['.gz', 'gzip']];

// The kinds of file a browser is sent compressed; pictures are compressed already.
const compressible = new Set(['.html', '.js', '.wasm', '.webmanifest', '.json', '.txt', '.css']);

// Files smaller than this gain nothing worth a second request's lookup.
const smallest = 1024;

export function compress(bytes, encoding) {
    if (encoding === 'br')
        return brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11,
            [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } });
    // zlib writes no name and no time into the header.
    return gzipSync(bytes, { level: 9 });
}

// Whether a file of the folder gets copies: one a server sends compressed, large enough to gain;
// the copies themselves do not.
export function isCopied(folder, name) {
    const path = `${folder}/${name}`;
    return compressible.has(extname(name)) && !copies.some(([ending]) => name.endsWith(ending))
        && statSync(path).isFile() && statSync(path).size >= smallest;
}

// Writes the copies of FOLDER's large files (not of its subfolders: no page asks for the
// licences); a copy that would not be smaller is not written. Returns the names of the files
// copied.
export function precompress(folder) {
    const done = [];
    for (const name of readdirSync(folder).sort()) {
        if (!isCopied(folder, name))
            continue;
        const path = `${folder}/${name}`;
        const bytes = readFileSync(path);
        for (const [ending, encoding] of copies) {
            const copy = compress(bytes, encoding);
            if (copy.length < bytes.length)
                writeFileSync(path + ending, copy);
        }
        done.push(name);
    }
    return done;
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
    const folder = process.argv[2];
    if (!folder || process.argv.length > 3) {
        console.error('usage: node scripts/lib/precompress.mjs FOLDER');
        process.exit(2);
    }
    console.log(`Brotli and gzip copies of ${precompress(folder).join(', ')}`);
}
