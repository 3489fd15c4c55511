// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "HeldInputEvent.h"

#include <utility>

HeldInputEvent::HeldInputEvent(std::function<void()> action)
    : QEvent(eventType())
    , m_action(std::move(action))
{
}

QEvent::Type HeldInputEvent::eventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// A pause keeps a copy of what it holds back, since Qt deletes a posted event once delivered.
HeldInputEvent *HeldInputEvent::clone() const
{
    return new HeldInputEvent(*this);
}
