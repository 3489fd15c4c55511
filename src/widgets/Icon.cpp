// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Icon.h"

#include "Rgb.h"

#include <array>

namespace {

// Characters three pixels wide and five high, a row a string.
using Glyph = std::array<const char *, 5>;
constexpr Glyph Six { "###", "#..", "###", "#.#", "###" };
constexpr Glyph Times { "...", "...", "#.#", ".#.", "#.#" };
constexpr Glyph Seven { "###", "..#", "..#", ".#.", ".#." };
constexpr Glyph Four { "#.#", "#.#", "###", "..#", "..#" };
constexpr Glyph Two { "###", "..#", "###", "#..", "###" };

void drawGlyph(QImage &image, const Glyph &glyph, int left, int top, int scale, Rgb colour)
{
    const QRgb pixel = qRgb(redOf(colour), greenOf(colour), blueOf(colour));
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column)
            if (glyph[row][column] == '#')
                for (int y = 0; y < scale; ++y)
                    for (int x = 0; x < scale; ++x)
                        image.setPixel(left + column * scale + x, top + row * scale + y, pixel);
}

}

QImage corvalloIcon(int factor)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    // Upper half: 6 x 7, characters doubled (6 × 10 pixels each).
    drawGlyph(image, Six, 3, 3, 2, rgb(255, 255, 0));
    drawGlyph(image, Times, 13, 3, 2, rgb(255, 0, 0));
    drawGlyph(image, Seven, 23, 3, 2, rgb(0, 255, 0));
    // Lower half: 42, characters tripled (9 × 15 pixels each).
    drawGlyph(image, Four, 5, 16, 3, rgb(0, 255, 255));
    drawGlyph(image, Two, 18, 16, 3, rgb(0, 255, 255));
    if (factor <= 1)
        return image;
    return image.scaled(32 * factor, 32 * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
