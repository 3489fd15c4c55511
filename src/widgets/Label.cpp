// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Label.h"

#include "DesignScale.h"
#include "Fonts.h"
#include "HeldInputEvent.h"
#include "Twips.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Where a label's text is drawn: its lines as placed, widened by a margin for what glyphs draw
// past their advances and typographic heights, inside the label. A change of the text or of its
// colour repaints only this, not the whole label and what lies under it; empty when there is no
// text.
QRect textArea(const Label &label)
{
    const QRectF lines = label.captionLines(label.textBox()).area();
    if (lines.isEmpty())
        return {};
    const int margin = 2 + int(lines.height()) / 8;
    return lines.toAlignedRect().adjusted(-margin, -margin, margin, margin) & label.rect();
}

// A single-line border along the edges of rect as they fall on the device: whole device pixels,
// one logical pixel thick rounded to whole device pixels. A pen one logical pixel wide, centred
// on the edges, does not scale that way: at 125 %, 150 % or 200 % half of it is cut off at the
// top and left, and where an edge falls between device pixels the line lands a pixel inside the
// label or is missing.
void drawBorder(QPainter &painter, const QRect &rect, const QColor &colour)
{
    const QTransform toDevice = painter.deviceTransform();
    const QRectF onDevice = toDevice.mapRect(QRectF(rect));
    const double left = std::round(onDevice.left());
    const double top = std::round(onDevice.top());
    const double right = std::round(onDevice.right());
    const double bottom = std::round(onDevice.bottom());
    const double thickness = std::max(1.0, std::round(toDevice.m11()));
    if (right - left < 2 * thickness || bottom - top < 2 * thickness) {
        painter.fillRect(rect, colour);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setTransform(toDevice.inverted() * painter.transform());
    painter.fillRect(QRectF(left, top, right - left, thickness), colour);
    painter.fillRect(QRectF(left, bottom - thickness, right - left, thickness), colour);
    painter.fillRect(
        QRectF(left, top + thickness, thickness, bottom - top - 2 * thickness), colour);
    painter.fillRect(
        QRectF(right - thickness, top + thickness, thickness, bottom - top - 2 * thickness),
        colour);
    painter.restore();
}

}

Label::Label(QWidget *parent, int index, AccessRole access)
    : QWidget(parent)
    , TwipsPlaced(static_cast<QWidget &>(*this))
    , m_index(index)
    , m_access(access)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFontSize(m_points);
}

void Label::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    // A hidden label is painted whole when it shows; a border is drawn in the text colour, so a
    // bordered label repaints whole.
    const bool shown = isVisible();
    const QRect before = !shown || m_border ? rect() : textArea(*this);
    // CR LF starts a new line; the painter wants a bare line feed.
    m_shown = caption;
    m_shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (shown)
        update(before | (m_border ? rect() : textArea(*this)));
    // A screen reader listening now is told that the label reads differently. Colours tell it
    // nothing: a fade changes how a caption looks, not what it says.
    if (QAccessible::isActive() && m_access != AccessRole::Picture) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void Label::setForeColor(Rgb colour)
{
    if (colour == m_fore)
        return;
    m_fore = colour;
    if (isVisible())
        update(m_border ? rect() : textArea(*this));
}

void Label::setBackColor(Rgb colour)
{
    if (colour == m_back)
        return;
    m_back = colour;
    if (!m_transparent)
        update();
}

void Label::setFontSize(double points)
{
    m_points = points;
    setFont(Fonts::labelFont(pointsToPixels(points, designScale(*this)), m_bold));
    update();
}

void Label::rescale()
{
    TwipsPlaced::rescale();
    setFontSize(m_points);
}

void Label::setBold(bool bold)
{
    m_bold = bold;
    setFontSize(m_points);
}

void Label::setTransparent(bool transparent)
{
    m_transparent = transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    update();
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), toQColor(m_back));
    if (m_border)
        drawBorder(painter, rect(), toQColor(m_fore));
    if (m_shown.isEmpty())
        return;
    painter.setPen(toQColor(m_fore));
    captionLines(textBox()).draw(painter);
}

TextLines Label::captionLines(const QRectF &box) const
{
    return TextLines(font(), m_metrics, m_shown, box, m_centred);
}

QRect Label::textBox() const
{
    const int inset = m_border ? 1 : 0;
    return rect().adjusted(inset, inset, -inset, -inset);
}

// The metrics follow the font, however it is set.
void Label::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_metrics = typographicMetrics(font());
    QWidget::changeEvent(event);
}

bool Label::event(QEvent *event)
{
    if (event->type() != HeldInputEvent::eventType())
        return QWidget::event(event);
    static_cast<HeldInputEvent *>(event)->run();
    return true;
}

void Label::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    emit mouseDown(int(event->button()));
}

// A quick second click arrives as a double click with no press before it. On the digit pad it is
// a press all the same, or a child clicking "4" twice would lose the second digit.
void Label::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_clicksRepeat) {
        mousePressEvent(event);
        return;
    }
    emit mouseDown(int(event->button()));
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = event->button() == Qt::LeftButton && m_leftPressed
        && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    emit mouseUp(int(event->button()));
    if (click)
        emit clicked();
}
