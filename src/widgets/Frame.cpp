// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Frame.h"

Frame::Frame(QWidget *parent)
    : QWidget(parent)
    , TwipsPlaced(static_cast<QWidget &>(*this))
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
}

void Frame::setBackColor(Rgb colour)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(colour));
    setPalette(palette);
}
