// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include "DigitPad.h"

#include <QKeyEvent>
#include <array>

namespace {

// The X keysyms of the keypad's digit keys, which X11 and Wayland alike give as the native virtual
// key. Under Wayland Qt marks no key with KeypadModifier, and keypad 2 comes as Qt::Key_2 just as
// the main row's 2 does: only the keysym (KP_2 against 2) tells them apart.
constexpr quint32 KeysymKeypad0 = 0xffb0;
constexpr quint32 KeysymKeypad9 = 0xffb9;
// With NumLock off: KP_Insert, KP_End, KP_Down, KP_Next, KP_Left, KP_Begin, KP_Right, KP_Home,
// KP_Up, KP_Prior for 0 to 9.
constexpr std::array<quint32, 10> KeysymNavigation { 0xff9e, 0xff9c, 0xff99, 0xff9b, 0xff96, 0xff9d,
    0xff98, 0xff95, 0xff97, 0xff9a };
// What Qt makes of the same keys, marked KeypadModifier under X11 and in synthetic events.
constexpr std::array<int, 10> QtNavigation { Qt::Key_Insert, Qt::Key_End, Qt::Key_Down,
    Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Clear, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up,
    Qt::Key_PageUp };

template <typename T, std::size_t N>
std::optional<int> indexOf(const std::array<T, N> &values, T value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (values[i] == value)
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> digitOfKeysym(quint32 keysym)
{
    if (keysym >= KeysymKeypad0 && keysym <= KeysymKeypad9)
        return static_cast<int>(keysym - KeysymKeypad0);
    return indexOf(KeysymNavigation, keysym);
}

std::optional<int> digitOfKeypadKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return key - Qt::Key_0;
    return indexOf(QtNavigation, key);
}

}

std::optional<std::int16_t> keypadKeyCode(const QKeyEvent &event)
{
    // With NumLock off the keypad's keys report their navigation meaning. A child cannot be
    // expected to know about NumLock, so they give their digits all the same.
    auto digit = digitOfKeysym(event.nativeVirtualKey());
    if (!digit && (event.modifiers() & Qt::KeypadModifier))
        digit = digitOfKeypadKey(event.key());
    if (!digit)
        return std::nullopt;
    return static_cast<std::int16_t>(KeypadZero + *digit);
}
