// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>

// The program's icon: "6 x 7" in yellow, red and green over "42" in cyan, in large pixel
// characters on black. Drawn at 32 × 32 pixels times a whole factor, so the pixels stay crisp.
QImage corvalloIcon(int factor = 1);
