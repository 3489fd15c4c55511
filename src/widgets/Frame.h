// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Rgb.h"
#include "TwipsPlaced.h"

#include <QWidget>

// A borderless container for a group of labels: hiding or moving the frame hides or moves them.
class Frame final : public QWidget, public TwipsPlaced {
    Q_OBJECT

public:
    explicit Frame(QWidget *parent);

    void setBackColor(Rgb colour);
};
