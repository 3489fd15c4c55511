// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "LabelAccessible.h"

#include "HeldInputEvent.h"
#include "Label.h"

#include <QCoreApplication>

namespace {

// A click reaches a label that is on screen with nothing in front of its middle: while the digit
// pad is shown, it covers "Stop".
bool reachable(const Label &label)
{
    if (!label.isVisible())
        return false;
    const QWidget *window = label.window();
    return window->childAt(label.mapTo(window, label.rect().center())) == &label;
}

QAccessibleInterface *labelFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("Label"))
        if (auto *label = qobject_cast<Label *>(object))
            return new LabelAccessible(label);
    return nullptr;
}

}

LabelAccessible::LabelAccessible(Label *label)
    : QAccessibleWidget(label)
{
}

void LabelAccessible::installFactory()
{
    QAccessible::installFactory(labelFactory);
}

Label *LabelAccessible::label() const
{
    return static_cast<Label *>(object());
}

QAccessible::Role LabelAccessible::role() const
{
    switch (label()->accessRole()) {
    case AccessRole::Button:
        return QAccessible::PushButton;
    case AccessRole::Text:
        return QAccessible::StaticText;
    case AccessRole::Picture:
        return QAccessible::Graphic;
    }
    return QAccessible::StaticText;
}

// A button that a click cannot reach is as good as hidden.
QAccessible::State LabelAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (label()->accessRole() == AccessRole::Button && !reachable(*label()))
        state.invisible = true;
    return state;
}

// The name is the caption, whatever its colour. Every caption is set black just before it fades
// in, and a faded-out question keeps its caption until the next question or the end of the lesson
// replaces it. Going by the captions tells a question as it starts to show and tells nothing the
// child has not been given (the product is set only when it is shown), and a fade says nothing.
QString LabelAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    if (label()->accessRole() == AccessRole::Picture)
        return {};
    return label()->caption();
}

QStringList LabelAccessible::actionNames() const
{
    if (label()->accessRole() == AccessRole::Button)
        return { pressAction() };
    return QAccessibleWidget::actionNames();
}

// A press is a click without the pointer: the label's clicked signal runs the same handler, when
// the label gets to it, and only if a click could reach the label then. Posted as held input, it
// waits as a click does while a pause holds input back. No light is shown on the digit pad: the
// light is the feedback of a held button or key, and a press holds nothing.
void LabelAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction() || label()->accessRole() != AccessRole::Button) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    Label *pressed = label();
    QCoreApplication::postEvent(pressed, new HeldInputEvent([pressed] {
        if (reachable(*pressed))
            emit pressed->clicked();
    }));
}
