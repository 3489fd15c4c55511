// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Host.h"

#include <cstdint>
#include <optional>

class QKeyEvent;

// The keypad key code (96 + digit) of a key event from one of the ten keypad digit keys, with
// NumLock on or off and with any modifier; nothing for every other key, main-row digits and the
// dedicated arrow and navigation keys included. The event's native codes are read as the given
// window system delivers them, by default the one the program runs on.
std::optional<std::int16_t> keypadKeyCode(
    const QKeyEvent &event, Host::NativeKeys native = Host::nativeKeys());
