// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeyRepeat.h"

// Windows repeats a held key as presses alone, flagged as repeats, and releases it once: there is
// nothing to ask for.
void makeKeyRepeatDetectable() { }
