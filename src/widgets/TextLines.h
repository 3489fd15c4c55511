// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// The heights a font's lines are placed by, in whole pixels: its typographic ascent and descent,
// and one line (the two and the line gap), as the font itself gives them. Each font engine
// otherwise picks its own (the typographic ones, the Windows ones or the horizontal header's,
// depending on a flag and on embedded bitmaps), which for Tahoma puts the first baseline up to a
// quarter of the size lower.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    int lineHeight = 0;
};

// Those of the font, from its OS/2 table scaled to its pixel size, Qt's own for a font without
// one. The ascent and descent are rounded up, as hinted glyphs reach to the next whole pixel; a
// line is rounded to the nearest, so that a grid's rows keep their pitch.
LineMetrics typographicMetrics(const QFont &font);

// A text placed in a box as a label shows it: the first baseline one ascent below the box's top,
// each next line (after a line feed) one line lower, each line left-aligned or centred on its
// whole width, its blanks included: a grid's row, with a blank before its first dot and one after
// its last, is centred on its dots. Nothing is clipped: the lines go where they fall.
class TextLines {
public:
    TextLines(const QFont &font, const LineMetrics &metrics, const QString &text, const QRectF &box,
        bool centred);

    void draw(QPainter &painter) const;
    // Where the lines lie, from a line's top (ascent above its baseline) to its bottom (descent
    // below), each as wide as its advance; empty without text.
    QRectF area() const;

private:
    struct Line {
        QString text;
        QPointF baseline;
        double advance;
    };
    QFont m_font;
    LineMetrics m_metrics;
    QList<Line> m_lines;
};
