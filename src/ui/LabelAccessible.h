// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleWidget>
#include <QEvent>

class Label;

// What a screen reader (AT-SPI on Linux) learns of a label of the window, as the design's access
// table says: the level menu, "Stop" and the digit pad are push buttons named by their captions,
// whose press does what a click does; the other labels are static text reading their current
// captions; the dot grid is a picture. Qt creates one for every label once the factory is
// installed at start-up; Label reports its caption changes through captionChanged().
class LabelAccessible final : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label *label);

    static void installFactory();
    // Tells a screen reader listening now that the label reads differently. Colours never call
    // this: a fade changes how a caption looks, not what it says.
    static void captionChanged(Label *label);
    // A press is posted to the label as this event, so that it waits, as a click does, while a
    // pause holds input back; the label runs it through press().
    static QEvent::Type pressEventType();
    // Clicks the label, if a click could reach it now.
    static void press(Label *label);

    QAccessible::State state() const override;

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    Label *label() const;
};
