// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>

struct FormControls;

// Places and sizes the controls for a drawing area of width × height twips: the factors across
// the top third, the grid, product and message across the middle, the status line and "Stop" on
// the bottom edge, the level menu centred, the digit pad in the bottom-right corner. Shows the
// level menu and returns the font unit that question sizes derive from.
std::int32_t layOutForm(const FormControls &controls, double width, double height);

// Where the window goes in a page that it is to fill, as in a browser, whatever the page's shape:
// the largest rectangle of the design's proportions, centred, so that every caption and dot
// stays whole and every control where the design puts it relative to the others; and the scale
// the design is drawn at there (designScale()): 1 where the page holds the design's size, and
// smaller where it does not, so that the menu, the digit pad and "Stop", whose sizes are fixed,
// keep their places too.
struct PageFit {
    QRect window;
    double scale = 1.0;
};
PageFit fitToPage(QSize page);

// Blanks the five question labels, captions first, and turns their text black.
void clearDisplay(const FormControls &controls);

// Rounds to the nearest integer, an exact half going to the even neighbour.
std::int32_t roundHalfEven(double value);
