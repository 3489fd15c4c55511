// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <cstdint>

// A colour as the window's design writes it: one word 0x00BBGGRR.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue)
{
    return static_cast<Rgb>((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}

// The colour with red, green and blue all equal to level (0 black, 255 white).
constexpr Rgb grey(int level)
{
    return rgb(level, level, level);
}

constexpr int redOf(Rgb colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(Rgb colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(Rgb colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

inline QColor toQColor(Rgb colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

namespace Colours {
constexpr Rgb Black = rgb(0, 0, 0);
constexpr Rgb White = rgb(255, 255, 255);
constexpr Rgb Highlight = rgb(0, 0, 255);
}
