// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DesignScale.h"

#include "TwipsPlaced.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr char Property[] = "corvalloDesignScale";

}

double designScale(const QWidget &widget)
{
    for (const QWidget *w = &widget; w; w = w->parentWidget()) {
        const QVariant scale = w->property(Property);
        if (scale.isValid())
            return scale.toDouble();
    }
    return 1.0;
}

void setDesignScale(QWidget &widget, double scale)
{
    if (designScale(widget) == scale)
        return;
    widget.setProperty(Property, scale);
    const auto within = widget.findChildren<QWidget *>();
    for (QWidget *child : within)
        if (auto *placed = dynamic_cast<TwipsPlaced *>(child))
            placed->rescale();
}
