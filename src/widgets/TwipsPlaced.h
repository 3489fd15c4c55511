// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// The geometry of a control as the design gives it, in twips, kept exactly as set: reading a
// position back gives what was written, not its rounded pixels. Every change places the widget
// on the whole pixels the rectangle covers.
class TwipsPlaced {
public:
    double leftTwips() const { return m_left; }
    double topTwips() const { return m_top; }
    double widthTwips() const { return m_width; }
    double heightTwips() const { return m_height; }
    void setLeftTwips(double twips);
    void setTopTwips(double twips);
    void setWidthTwips(double twips);
    void setHeightTwips(double twips);
    void setGeometryTwips(double left, double top, double width, double height);
    // Places the control again, at the scale the design is now drawn at.
    virtual void rescale();

protected:
    explicit TwipsPlaced(QWidget &widget)
        : m_widget(widget)
    {
    }
    ~TwipsPlaced() = default;
    TwipsPlaced(const TwipsPlaced &) = delete;
    TwipsPlaced &operator=(const TwipsPlaced &) = delete;

private:
    void place();

    QWidget &m_widget;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
};
