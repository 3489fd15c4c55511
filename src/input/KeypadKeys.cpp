// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include "DigitPad.h"

#include <QKeyEvent>

std::optional<std::int16_t> keypadKeyCode(const QKeyEvent &event)
{
    if (!(event.modifiers() & Qt::KeypadModifier))
        return std::nullopt;
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<std::int16_t>(KeypadZero + (key - Qt::Key_0));
    // With NumLock off the same keys report their navigation meaning, still from the keypad.
    // A child cannot be expected to know about NumLock, so they give their digits all the same.
    int digit = -1;
    switch (key) {
    case Qt::Key_Insert:
        digit = 0;
        break;
    case Qt::Key_End:
        digit = 1;
        break;
    case Qt::Key_Down:
        digit = 2;
        break;
    case Qt::Key_PageDown:
        digit = 3;
        break;
    case Qt::Key_Left:
        digit = 4;
        break;
    case Qt::Key_Clear:
        digit = 5;
        break;
    case Qt::Key_Right:
        digit = 6;
        break;
    case Qt::Key_Home:
        digit = 7;
        break;
    case Qt::Key_Up:
        digit = 8;
        break;
    case Qt::Key_PageUp:
        digit = 9;
        break;
    default:
        return std::nullopt;
    }
    return static_cast<std::int16_t>(KeypadZero + digit);
}
