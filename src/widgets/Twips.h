// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <algorithm>
#include <cmath>

// Positions and sizes are kept in twips, as the design gives them: 1440 to the inch,
// 15 to the pixel at 96 dots per inch.
constexpr double TwipsPerPixel = 15.0;

inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

// The pixels a rectangle given in twips covers. The edges are rounded, not the sizes, so that
// controls that meet in twips meet on screen; a size is never negative.
inline QRect twipsToPixelRect(double left, double top, double width, double height)
{
    const int x = twipsToPixels(left);
    const int y = twipsToPixels(top);
    return QRect(x, y, std::max(0, twipsToPixels(left + width) - x),
        std::max(0, twipsToPixels(top + height) - y));
}

constexpr double pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

// Font sizes are in points; at 96 dots per inch a point is 4/3 of a pixel. Fonts snap to whole
// pixels, and never below one so that a tiny window still draws without complaint.
inline int pointsToPixels(double points)
{
    const long pixels = std::lround(points * 96.0 / 72.0);
    return pixels < 1 ? 1 : static_cast<int>(pixels);
}
