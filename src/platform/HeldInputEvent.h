// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QEvent>
#include <functional>

// Input that reaches a widget by another road than the window system, such as a screen reader's
// press. Posted to the widget, it waits as a click does while a pause holds input back; a widget
// that posts it runs it from its own event() when it arrives (today the label).
class HeldInputEvent final : public QEvent {
public:
    explicit HeldInputEvent(std::function<void()> action);

    static QEvent::Type eventType();
    HeldInputEvent *clone() const override;

    void run() const { m_action(); }

private:
    std::function<void()> m_action;
};
