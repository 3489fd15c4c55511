// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <functional>

// Everything a lesson needs from the world outside the window: pumping events, blocking pauses,
// the one-shot start timer and random numbers. The program runs on the Qt side; the tests run on
// a virtual clock with input scripted at virtual times. Procedures get it by reference from the
// window object and never reach Qt's event loop or the real clock behind its back.
class Platform {
public:
    virtual ~Platform() = default;

    // Handle every pending event (repaint, clicks, keys); handlers run nested in the caller.
    virtual void doEvents() = 0;
    // Block: input waits until the next doEvents(), no handler runs for it. The window may still
    // repaint and follow a change of its size, and a close ends the pause early.
    virtual void sleep(std::chrono::milliseconds ms) = 0;

    // Uniform in [0, 1).
    virtual double nextRandom() = 0;
    // Start a new random sequence.
    virtual void reseed() = 0;

    // While enabled the timer calls its handler once per interval; the handler disables it,
    // which makes it a one-shot delay.
    virtual void setTimerHandler(std::function<void()> handler) = 0;
    virtual void setTimerInterval(std::chrono::milliseconds interval) = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual bool isTimerEnabled() const = 0;
};
