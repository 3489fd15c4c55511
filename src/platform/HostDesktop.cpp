// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What Linux and Windows do alike: a pause sleeps, the window is a window among others, and the
// program's end needs no one told.

#include "Host.h"

#include <thread>

namespace Host {

void wait(std::chrono::steady_clock::duration duration)
{
    std::this_thread::sleep_for(duration);
}

bool fillsScreen()
{
    return false;
}

void ended(int)
{
}

}
