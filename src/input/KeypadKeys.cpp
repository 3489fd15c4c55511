// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include "DigitPad.h"

#include <QKeyEvent>

namespace {

// One keypad digit key: what Qt makes of it, marked KeypadModifier under X11, Windows and in
// synthetic events, and what the window systems give as its native codes.
// - X11 and Wayland give the X keysym as the native virtual key. Under Wayland Qt marks no key with
//   KeypadModifier (measured with Qt 6.4.2), and keypad 2 comes as Qt::Key_2 just as the main
//   row's 2 does: only the keysym (KP_2 against 2) tells them apart.
// - Windows gives its virtual key and the scan code, 0x100 added for an extended key. With NumLock
//   off keypad 2 has the dedicated Down arrow's virtual key; only the scan code, not extended for
//   the keypad, tells them apart. A digit's own virtual key (VK_NUMPAD0 to VK_NUMPAD9) is the
//   keypad's alone: it counts whatever the scan code, as on-screen keyboards and input tools send
//   it with none.
// - A browser gives no native codes. It tells a keypad key by its place (the event's location),
//   and only then does Qt mark it KeypadModifier; with NumLock off the key reads as its navigation
//   key, as on the other systems.
// The codes of one system mean other things on the other: Windows' VK_NUMPAD0 (0x60) is the X
// keysym of the grave accent. So only the codes of the system the event comes from are read.
struct KeypadKey {
    int key;
    quint32 keysym;
    quint32 virtualKey;
    quint32 scanCode;
    int digit;
};

// The ten digit keys with NumLock on, then off. With NumLock off they report what they do for
// navigation; a child cannot be expected to know about NumLock, so they give their digits all
// the same.
constexpr KeypadKey KeypadDigits[] = {
    { Qt::Key_0, 0xffb0, 0x60, 0x52, 0 },
    { Qt::Key_1, 0xffb1, 0x61, 0x4f, 1 },
    { Qt::Key_2, 0xffb2, 0x62, 0x50, 2 },
    { Qt::Key_3, 0xffb3, 0x63, 0x51, 3 },
    { Qt::Key_4, 0xffb4, 0x64, 0x4b, 4 },
    { Qt::Key_5, 0xffb5, 0x65, 0x4c, 5 },
    { Qt::Key_6, 0xffb6, 0x66, 0x4d, 6 },
    { Qt::Key_7, 0xffb7, 0x67, 0x47, 7 },
    { Qt::Key_8, 0xffb8, 0x68, 0x48, 8 },
    { Qt::Key_9, 0xffb9, 0x69, 0x49, 9 },
    { Qt::Key_Insert, 0xff9e, 0x2d, 0x52, 0 },
    { Qt::Key_End, 0xff9c, 0x23, 0x4f, 1 },
    { Qt::Key_Down, 0xff99, 0x28, 0x50, 2 },
    { Qt::Key_PageDown, 0xff9b, 0x22, 0x51, 3 },
    { Qt::Key_Left, 0xff96, 0x25, 0x4b, 4 },
    { Qt::Key_Clear, 0xff9d, 0x0c, 0x4c, 5 },
    { Qt::Key_Right, 0xff98, 0x27, 0x4d, 6 },
    { Qt::Key_Home, 0xff95, 0x24, 0x47, 7 },
    { Qt::Key_Up, 0xff97, 0x26, 0x48, 8 },
    { Qt::Key_PageUp, 0xff9a, 0x21, 0x49, 9 },
};

template <typename T> std::optional<int> digitOf(T KeypadKey::*column, T value)
{
    for (const KeypadKey &row : KeypadDigits)
        if (row.*column == value)
            return row.digit;
    return std::nullopt;
}

// A key that Qt marks as the keypad's, by Qt's name for it. Qt 6.4 for the web names the keypad's 5
// without NumLock (the browser's "Clear") Pause.
std::optional<int> digitOfQtKey(int key)
{
    if (key == Qt::Key_Pause)
        return 5;
    return digitOf(&KeypadKey::key, key);
}

std::optional<int> digitOfWindowsKey(quint32 virtualKey, quint32 scanCode)
{
    for (const KeypadKey &row : KeypadDigits) {
        const bool digitKey = row.key >= Qt::Key_0 && row.key <= Qt::Key_9;
        if (row.virtualKey == virtualKey && (digitKey || row.scanCode == scanCode))
            return row.digit;
    }
    return std::nullopt;
}

}

std::optional<std::int16_t> keypadKeyCode(const QKeyEvent &event, Host::NativeKeys native)
{
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    std::optional<int> digit;
    switch (native) {
    case Host::NativeKeys::XKeysyms:
        digit = digitOf(&KeypadKey::keysym, event.nativeVirtualKey());
        if (!digit && keypad)
            digit = digitOfQtKey(event.key());
        break;
    case Host::NativeKeys::Windows:
        // Only a synthetic event, without native codes, is taken by Qt's word alone.
        if (event.nativeVirtualKey() != 0 || event.nativeScanCode() != 0)
            digit = digitOfWindowsKey(event.nativeVirtualKey(), event.nativeScanCode());
        else if (keypad)
            digit = digitOfQtKey(event.key());
        break;
    case Host::NativeKeys::None:
        if (keypad)
            digit = digitOfQtKey(event.key());
        break;
    }
    if (!digit)
        return std::nullopt;
    return static_cast<std::int16_t>(KeypadZero + *digit);
}
