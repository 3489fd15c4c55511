// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "TextLines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {

// The OS/2 table's typographic ascender, descender and line gap (signed 16-bit font units, from
// its first version on).
constexpr int TypoAscenderOffset = 68;
constexpr int TypoDescenderOffset = 70;
constexpr int TypoLineGapOffset = 72;

double fontUnits(const QByteArray &table, int offset)
{
    return qFromBigEndian<qint16>(table.constData() + offset);
}

}

LineMetrics typographicMetrics(const QFont &font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    double ascent = 0;
    double descent = 0;
    double lineGap = 0;
    if (os2.size() >= TypoLineGapOffset + 2 && raw.unitsPerEm() > 0) {
        const double scale = raw.pixelSize() / raw.unitsPerEm();
        ascent = fontUnits(os2, TypoAscenderOffset) * scale;
        descent = std::max(0.0, -fontUnits(os2, TypoDescenderOffset) * scale);
        lineGap = std::max(0.0, fontUnits(os2, TypoLineGapOffset) * scale);
    }
    if (ascent <= 0) {
        const QFontMetricsF metrics(font);
        ascent = metrics.ascent();
        descent = std::max(0.0, metrics.descent());
        lineGap = std::max(0.0, metrics.leading());
    }
    return { int(std::ceil(ascent)), int(std::ceil(descent)),
        int(std::lround(ascent + descent + lineGap)) };
}

TextLines::TextLines(const QFont &font, const LineMetrics &metrics, const QString &text,
    const QRectF &box, bool centred)
    : m_font(font)
    , m_metrics(metrics)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF measure(font);
    double baseline = box.top() + metrics.ascent;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const double advance = measure.horizontalAdvance(line);
        const double left = centred ? box.left() + (box.width() - advance) / 2 : box.left();
        m_lines.append({ line, QPointF(left, baseline), advance });
        baseline += metrics.lineHeight;
    }
}

void TextLines::draw(QPainter &painter) const
{
    painter.setFont(m_font);
    for (const Line &line : m_lines)
        painter.drawText(line.baseline, line.text);
}

QRectF TextLines::area() const
{
    QRectF area;
    for (const Line &line : m_lines)
        area |= QRectF(line.baseline.x(), line.baseline.y() - m_metrics.ascent, line.advance,
            m_metrics.ascent + m_metrics.descent);
    return area;
}
