// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

// Every label is drawn in Tahoma. Windows has it; Debian ships it with Wine in a folder that
// fontconfig does not scan, so there the program registers it itself; where it is absent a
// sans-serif font stands in.
namespace Fonts {
// Registers Tahoma and Tahoma Bold from the first folder that holds them, where the system does
// not offer them; true if a label's font is then Tahoma itself, not a stand-in.
bool registerTahoma();
QFont labelFont(int pixelSize, bool bold);
}
