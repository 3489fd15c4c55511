// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

struct FormControls;

// Places and sizes the controls for a drawing area of width × height twips: the factors across
// the top third, the grid, product and message across the middle, the status line and "Stop" on
// the bottom edge, the level menu centred, the digit pad in the bottom-right corner. Shows the
// level menu and returns the font unit that question sizes derive from.
std::int32_t layOutForm(const FormControls &controls, double width, double height);

// Blanks the five question labels, captions first, and turns their text black.
void clearDisplay(const FormControls &controls);

// Rounds to the nearest integer, an exact half going to the even neighbour.
std::int32_t roundHalfEven(double value);
