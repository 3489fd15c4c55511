// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleWidget>

class Label;

// What a screen reader (AT-SPI on Linux) learns of a label of the window, as its access role says.
// In the window's design the level menu, "Stop" and the digit pad are push buttons named by their
// captions, whose press does what a click does; the other labels are static text reading their
// current captions; the dot grid is a picture. Qt creates one for every label once the factory is
// installed at start-up.
class LabelAccessible final : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label *label);

    static void installFactory();

    QAccessible::State state() const override;

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    Label *label() const;
};
