// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Reads the PNG files a browser's screenshots come in (8 bits a sample, RGB or RGBA, not
// interlaced) into rows of RGBA pixels.
import { inflateSync } from 'node:zlib';

export function decodePng(buffer) {
    if (buffer.readUInt32BE(0) !== 0x89504e47)
        throw new Error('not a PNG file');
    let offset = 8;
    let width = 0, height = 0, channels = 0;
    const data = [];
    while (offset < buffer.length) {
        const length = buffer.readUInt32BE(offset);
        const type = buffer.toString('latin1', offset + 4, offset + 8);
        const body = buffer.subarray(offset + 8, offset + 8 + length);
        if (type === 'IHDR') {
            width = body.readUInt32BE(0);
            height = body.readUInt32BE(4);
            const [depth, colour, , , interlace] = body.subarray(8, 13);
            channels = { 2: 3, 6: 4 }[colour];
            if (depth !== 8 || !channels || interlace !== 0)
                throw new Error(`unsupported PNG: depth ${depth}, colour type ${colour}, interlace ${interlace}`);
        } else if (type === 'IDAT') {
            data.push(body);
        } else if (type === 'IEND') {
            break;
        }
        offset += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(data));
    const stride = width * channels;
    const rgba = Buffer.alloc(width * height * 4);
    let previous = Buffer.alloc(stride);
    for (let y = 0; y < height; y++) {
        const filter = raw[y * (stride + 1)];
        const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
        for (let i = 0; i < stride; i++) {
            const left = i >= channels ? row[i - channels] : 0;
            const up = previous[i];
            const upLeft = i >= channels ? previous[i - channels] : 0;
            let add = 0;
            switch (filter) {
            case 0: break;
            case 1: add = left; break;
            case 2: add = up; break;
            case 3: add = (left + up) >> 1; break;
            case 4: {
                const p = left + up - upLeft;
                const pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - upLeft);
                add = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
                break;
            }
            default: throw new Error(`unknown PNG filter ${filter}`);
            }
            row[i] = (row[i] + add) & 0xff;
        }
        for (let x = 0; x < width; x++) {
            row.copy(rgba, (y * width + x) * 4, x * channels, x * channels + 3);
            rgba[(y * width + x) * 4 + 3] = channels === 4 ? row[x * channels + 3] : 255;
        }
        previous = row;
    }
    return {
        width, height,
        // "r,g,b" of the pixel at (x, y), as the X11 tests write colours.
        pixel(x, y) {
            const at = (y * width + x) * 4;
            return `${rgba[at]},${rgba[at + 1]},${rgba[at + 2]}`;
        },
        // How many pixels of the area have this "r,g,b" colour.
        count(x, y, w, h, colour) {
            let n = 0;
            for (let j = y; j < y + h && j < height; j++)
                for (let i = x; i < x + w && i < width; i++)
                    if (this.pixel(i, j) === colour)
                        n++;
            return n;
        },
    };
}
