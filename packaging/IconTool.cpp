// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the program's icon, at 32 × 32 pixels times a whole factor, to a PNG file. The build
// runs it for every size the desktop icon theme gets, so the installed icons are the very image
// the window shows.
#include "Icon.h"

#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int LargestFactor = 16; // 512 × 512, the largest size icon themes use

int usageError()
{
    std::fputs("Usage: corvallo-icon FACTOR FILE.png\n"
                "Writes the 32 x 32 icon scaled by the whole FACTOR (1 to 16) to FILE.png.\n",
        stderr);
    return 2;
}

}

int main(int argc, char *argv[])
{
    if (argc != 3)
        return usageError();
    char *end = nullptr;
    const long factor = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || factor < 1 || factor > LargestFactor)
        return usageError();

    const QImage icon = corvalloIcon(static_cast<int>(factor));
    if (!icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "corvallo-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
