// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// How large the design is drawn in a widget and everything within it: the screen pixels that a
// pixel of the design (15 twips, three quarters of a point) takes. A desktop window draws it at 1,
// and a larger window lays it out larger, as the layout pass does; a page smaller than the
// design, such as a phone's, draws it smaller as a whole, positions and fonts alike.
// The scale set on the widget or on its nearest ancestor that has one; 1 where none has.
double designScale(const QWidget &widget);

// Sets the scale for the widget and everything within it, and places and sizes again every
// control placed in twips.
void setDesignScale(QWidget &widget, double scale);
