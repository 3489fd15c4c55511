// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Windows' virtual keys and the scan codes its keyboard gives for them. In the Windows build they
// come from Windows itself: the constants of its headers and the scan codes of MapVirtualKey, so
// that the keypad table is checked against what Windows delivers, not against numbers typed again.
// Elsewhere the same values stand here, for the rows that run on Linux.

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

inline uint scanCodeOf(uint virtualKey)
{
    return MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
}
#else
enum : uint {
    VK_CLEAR = 0x0c, VK_RETURN = 0x0d, VK_PAUSE = 0x13, VK_ESCAPE = 0x1b, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
    VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2d, VK_DELETE = 0x2e, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6a,
    VK_ADD = 0x6b, VK_SEPARATOR = 0x6c, VK_SUBTRACT = 0x6d, VK_DECIMAL = 0x6e, VK_DIVIDE = 0x6f,
    VK_F4 = 0x73, VK_F7 = 0x76, VK_NUMLOCK = 0x90, VK_OEM_3 = 0xc0,
};

inline uint scanCodeOf(uint virtualKey)
{
    struct Code { uint virtualKey, scanCode; };
    static constexpr Code codes[] = {
        { VK_CLEAR, 0x4c }, { VK_RETURN, 0x1c }, { VK_PAUSE, 0x45 }, { VK_ESCAPE, 0x01 },
        { VK_SPACE, 0x39 },
        { VK_PRIOR, 0x49 }, { VK_NEXT, 0x51 }, { VK_END, 0x4f }, { VK_HOME, 0x47 },
        { VK_LEFT, 0x4b }, { VK_UP, 0x48 }, { VK_RIGHT, 0x4d }, { VK_DOWN, 0x50 },
        { VK_INSERT, 0x52 }, { VK_DELETE, 0x53 }, { VK_NUMPAD0, 0x52 }, { VK_NUMPAD0 + 1, 0x4f },
        { VK_NUMPAD0 + 2, 0x50 }, { VK_NUMPAD0 + 3, 0x51 }, { VK_NUMPAD0 + 4, 0x4b },
        { VK_NUMPAD0 + 5, 0x4c }, { VK_NUMPAD0 + 6, 0x4d }, { VK_NUMPAD0 + 7, 0x47 },
        { VK_NUMPAD0 + 8, 0x48 }, { VK_NUMPAD0 + 9, 0x49 }, { VK_MULTIPLY, 0x37 }, { VK_ADD, 0x4e },
        { VK_SEPARATOR, 0x7e }, { VK_SUBTRACT, 0x4a }, { VK_DECIMAL, 0x53 }, { VK_DIVIDE, 0x35 },
        { VK_F4, 0x3e }, { VK_F7, 0x41 }, { VK_NUMLOCK, 0x45 }, { VK_OEM_3, 0x29 },
        { '0', 0x0b }, { '1', 0x02 }, { '2', 0x03 }, { '5', 0x06 }, { '9', 0x0a }, { 'A', 0x1e },
    };
    for (const Code &code : codes)
        if (code.virtualKey == virtualKey)
            return code.scanCode;
    return 0;
}
#endif

// The scan code of a key that Windows marks extended: the dedicated navigation keys, the keypad's
// Enter and slash, NumLock.
inline uint extendedScanCodeOf(uint virtualKey)
{
    return 0x100 | scanCodeOf(virtualKey);
}
