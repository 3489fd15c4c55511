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

// Each conversion takes the scale the design is drawn at (designScale(), 1 on a desktop): the
// screen pixels that a pixel of the design takes.
inline int twipsToPixels(double twips, double scale = 1.0)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel * scale));
}

// The pixels a rectangle given in twips covers. The edges are rounded, not the sizes, so that
// controls that meet in twips meet on screen; a size is never negative.
inline QRect twipsToPixelRect(
    double left, double top, double width, double height, double scale = 1.0)
{
    const int x = twipsToPixels(left, scale);
    const int y = twipsToPixels(top, scale);
    return QRect(x, y, std::max(0, twipsToPixels(left + width, scale) - x),
        std::max(0, twipsToPixels(top + height, scale) - y));
}

constexpr double pixelsToTwips(int pixels, double scale = 1.0)
{
    return pixels * TwipsPerPixel / scale;
}

// Font sizes are in points; at 96 dots per inch a point is 4/3 of a pixel. Fonts snap to whole
// pixels, and never below one so that a tiny window still draws without complaint.
inline int pointsToPixels(double points, double scale = 1.0)
{
    const long pixels = std::lround(points * 96.0 / 72.0 * scale);
    return pixels < 1 ? 1 : static_cast<int>(pixels);
}
