// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "AccessRole.h"
#include "Rgb.h"
#include "TextLines.h"
#include "TwipsPlaced.h"

#include <QString>
#include <QWidget>

// A label of the window: a caption drawn from the top of its rectangle by its font's own
// typographic metrics, whatever the font engine makes of them, a text colour, a back
// colour or none (transparent), an optional single-line border. Geometry is kept in twips
// exactly as set and placed on whole pixels. Colour writes only schedule a repaint of the label
// itself, so an animation step stays cheap. Held input posted to it runs when it arrives.
class Label final : public QWidget, public TwipsPlaced {
    Q_OBJECT

public:
    explicit Label(QWidget *parent, int index = -1, AccessRole access = AccessRole::Text);

    int index() const { return m_index; }
    AccessRole accessRole() const { return m_access; }

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    Rgb foreColor() const { return m_fore; }
    void setForeColor(Rgb colour);
    Rgb backColor() const { return m_back; }
    void setBackColor(Rgb colour);

    double fontSize() const { return m_points; }
    void setFontSize(double points);
    // Places the label again and sizes its font, at the scale the design is now drawn at.
    void rescale() override;
    bool isBold() const { return m_bold; }
    void setBold(bool bold);

    bool isTransparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    bool hasBorder() const { return m_border; }
    void setBorder(bool border) { m_border = border; }
    // A quick second click on the label counts as a click of its own (the digit pad), instead of
    // being taken as one double click (every other label: a double click on "Stop" stops the
    // lesson, it does not also quit the program).
    void setClicksRepeat(bool repeat) { m_clicksRepeat = repeat; }
    bool isCentred() const { return m_centred; }
    void setCentred(bool centred) { m_centred = centred; }

    // The caption's lines placed in box, the label's own text box or the same box elsewhere on
    // another device, as painting places them in the label.
    TextLines captionLines(const QRectF &box) const;
    // The label's text box: the label within its border.
    QRect textBox() const;

signals:
    void mouseDown(int button);
    void mouseUp(int button);
    void clicked();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_index;
    AccessRole m_access;
    QString m_caption;
    QString m_shown;
    LineMetrics m_metrics;
    Rgb m_fore = 0;
    Rgb m_back = 0;
    double m_points = 8.25;
    bool m_bold = false;
    bool m_transparent = false;
    bool m_border = false;
    bool m_centred = false;
    bool m_leftPressed = false;
    bool m_clicksRepeat = false;
};
