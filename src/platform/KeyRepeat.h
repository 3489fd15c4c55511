// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Under X11 a held key repeats as release and press pairs, and Qt marks a pair as repeated only
// when the press has already reached it as it looks at the release (measured with Qt 6.4.2). On
// a busy machine it may not have, and one held key would then give several digits. Asking the X
// server for detectable repeats leaves out the repeated releases, so a held key is released
// once, when it really is. Does nothing on other window systems.
void makeKeyRepeatDetectable();
