// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program in a browser page. The page starts it with the arguments it read from its address,
// shows what it is told, and says so when the program has ended. The page and the program share
// one thread: a pause hands it back to the browser.

#include "Host.h"

#include <cstdio>
#include <emscripten.h>
#include <utility>

namespace {

// The page's own functions, where it has them: a page that is not the program's own still runs it.
EM_JS(void, tellPage, (int error, const char *text), {
    if (Module.corvalloTell)
        Module.corvalloTell(error !== 0, UTF8ToString(text));
});

EM_JS(void, endPage, (int status), {
    if (Module.corvalloEnded)
        Module.corvalloEnded(status);
});

}

namespace Host {

bool hasDisplay()
{
    return true;
}

std::vector<std::string> arguments(int argc, char *argv[])
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void tell(Stream stream, const std::string &text)
{
    std::fputs(text.c_str(), stream == Stream::Output ? stdout : stderr);
    tellPage(stream == Stream::Error ? 1 : 0, text.c_str());
}

// Tahoma comes with the program, as a resource.
QStringList fontFolders()
{
    return { QStringLiteral(":/fonts") };
}

// A browser offers no font files at all.
bool systemOffersTahoma()
{
    return false;
}

// The one face Qt for the web brings along, as built here.
QStringList sansSerifFamilies()
{
    return { QStringLiteral("Bitstream Vera Sans") };
}

void wait(std::chrono::steady_clock::duration duration)
{
    emscripten_sleep(
        static_cast<unsigned>(std::chrono::ceil<std::chrono::milliseconds>(duration).count()));
}

bool fillsScreen()
{
    return true;
}

// Once: the window's going and the end of the event loop both tell it.
void ended(int status)
{
    static bool told = false;
    if (std::exchange(told, true))
        return;
    endPage(status);
}

FineTimers::FineTimers() = default;

FineTimers::~FineTimers() = default;

}
