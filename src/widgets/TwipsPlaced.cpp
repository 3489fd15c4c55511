// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TwipsPlaced.h"

#include "DesignScale.h"
#include "Twips.h"

#include <QWidget>

void TwipsPlaced::setLeftTwips(double twips)
{
    m_left = twips;
    place();
}

void TwipsPlaced::setTopTwips(double twips)
{
    m_top = twips;
    place();
}

void TwipsPlaced::setWidthTwips(double twips)
{
    m_width = twips;
    place();
}

void TwipsPlaced::setHeightTwips(double twips)
{
    m_height = twips;
    place();
}

void TwipsPlaced::setGeometryTwips(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    place();
}

void TwipsPlaced::rescale()
{
    place();
}

void TwipsPlaced::place()
{
    const QRect target = twipsToPixelRect(m_left, m_top, m_width, m_height, designScale(m_widget));
    if (m_widget.geometry() != target)
        m_widget.setGeometry(target);
}
