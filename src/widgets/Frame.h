// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Rgb.h"

#include <QWidget>

// A borderless container for a group of labels: hiding or moving the frame hides or moves them.
class Frame final : public QWidget {
    Q_OBJECT

public:
    explicit Frame(QWidget *parent);

    void setBackColor(Rgb colour);

    double leftTwips() const { return m_left; }
    double topTwips() const { return m_top; }
    double widthTwips() const { return m_width; }
    double heightTwips() const { return m_height; }
    void setLeftTwips(double twips);
    void setTopTwips(double twips);
    void setGeometryTwips(double left, double top, double width, double height);

private:
    void place();

    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
};
