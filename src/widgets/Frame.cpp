// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Frame.h"

#include "Twips.h"

Frame::Frame(QWidget *parent)
    : QWidget(parent)
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

void Frame::setLeftTwips(double twips)
{
    m_left = twips;
    place();
}

void Frame::setTopTwips(double twips)
{
    m_top = twips;
    place();
}

void Frame::setGeometryTwips(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    place();
}

void Frame::place()
{
    const QRect target = twipsToPixelRect(m_left, m_top, m_width, m_height);
    if (geometry() != target)
        setGeometry(target);
}
