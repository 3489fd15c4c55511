// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StatusText.h"

QString statusText(int remaining, std::int32_t right, std::int32_t wrong, std::int32_t score)
{
    return QStringLiteral(
        "Rimanenti: %1         Giusti: %2         Sbagliati: %3         Punteggio: %4")
        .arg(remaining)
        .arg(right)
        .arg(wrong)
        .arg(score);
}
