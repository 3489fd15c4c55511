// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include "DigitPad.h"

#include <QKeyEvent>
#include <X11/keysym.h>

namespace {

// A key of the keypad by the X keysym that X11 and Wayland alike give as the native virtual key,
// and by what Qt makes of it, marked KeypadModifier under X11 and in synthetic events. Under
// Wayland Qt marks no key with KeypadModifier (measured with Qt 6.4.2), and keypad 2 comes as
// Qt::Key_2 just as the main row's 2 does: only the keysym (KP_2 against 2) tells them apart;
// with Qt 6.8.2 keypad answers given by keysym under sway were judged as with 6.4.2.
struct KeypadKey {
    quint32 keysym;
    int key;
    int digit;
};

// The ten digit keys with NumLock on, then off. With NumLock off they report what they do for
// navigation; a child cannot be expected to know about NumLock, so they give their digits all
// the same.
constexpr KeypadKey KeypadDigits[] = {
    { XK_KP_0, Qt::Key_0, 0 },
    { XK_KP_1, Qt::Key_1, 1 },
    { XK_KP_2, Qt::Key_2, 2 },
    { XK_KP_3, Qt::Key_3, 3 },
    { XK_KP_4, Qt::Key_4, 4 },
    { XK_KP_5, Qt::Key_5, 5 },
    { XK_KP_6, Qt::Key_6, 6 },
    { XK_KP_7, Qt::Key_7, 7 },
    { XK_KP_8, Qt::Key_8, 8 },
    { XK_KP_9, Qt::Key_9, 9 },
    { XK_KP_Insert, Qt::Key_Insert, 0 },
    { XK_KP_End, Qt::Key_End, 1 },
    { XK_KP_Down, Qt::Key_Down, 2 },
    { XK_KP_Next, Qt::Key_PageDown, 3 },
    { XK_KP_Left, Qt::Key_Left, 4 },
    { XK_KP_Begin, Qt::Key_Clear, 5 },
    { XK_KP_Right, Qt::Key_Right, 6 },
    { XK_KP_Home, Qt::Key_Home, 7 },
    { XK_KP_Up, Qt::Key_Up, 8 },
    { XK_KP_Prior, Qt::Key_PageUp, 9 },
};

// The digit of the keypad key whose keysym or Qt key (as column says) is value.
template <typename T> std::optional<int> digitOf(T KeypadKey::*column, T value)
{
    for (const KeypadKey &row : KeypadDigits)
        if (row.*column == value)
            return row.digit;
    return std::nullopt;
}

}

std::optional<std::int16_t> keypadKeyCode(const QKeyEvent &event)
{
    auto digit = digitOf(&KeypadKey::keysym, event.nativeVirtualKey());
    if (!digit && (event.modifiers() & Qt::KeypadModifier))
        digit = digitOf(&KeypadKey::key, event.key());
    if (!digit)
        return std::nullopt;
    return static_cast<std::int16_t>(KeypadZero + *digit);
}
