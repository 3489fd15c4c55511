// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeyRepeat.h"

// Windows and the browsers repeat a held key as presses alone and release it once: there is
// nothing to ask for.
void makeKeyRepeatDetectable() { }
