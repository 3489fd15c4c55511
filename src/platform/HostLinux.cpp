// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Host.h"

#include <cstdio>
#include <cstdlib>

namespace Host {

bool hasDisplay()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

std::vector<std::string> arguments(int argc, char *argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void tell(Stream stream, const std::string &text)
{
    std::fputs(text.c_str(), stream == Stream::Output ? stdout : stderr);
}

// Debian's fonts-wine puts Tahoma where fontconfig does not look.
QStringList fontFolders()
{
    return { QStringLiteral("/usr/share/wine/fonts"),
        QStringLiteral("/usr/share/fonts/truetype/wine") };
}

// fonts-wine may be missing, and fontconfig would not find it anyway.
bool systemOffersTahoma()
{
    return false;
}

// fontconfig's own name for the system's sans-serif face.
QStringList sansSerifFamilies()
{
    return { QStringLiteral("sans-serif") };
}

FineTimers::FineTimers() = default;

FineTimers::~FineTimers() = default;

}
