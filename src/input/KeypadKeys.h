// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>

class QKeyEvent;

// The keypad key code (96 + digit) of a key event from one of the ten keypad digit keys, with
// NumLock on or off and with any modifier, under X11 and Wayland; nothing for every other key,
// main-row digits included.
std::optional<std::int16_t> keypadKeyCode(const QKeyEvent &event);
