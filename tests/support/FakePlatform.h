// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Platform.h"

#include <QList>
#include <chrono>
#include <deque>
#include <functional>
#include <vector>

// The platform on a virtual clock. sleep() only moves the clock and records the pause;
// doEvents() runs the input scripted for the virtual time reached, in the order it was
// scripted; random numbers come from a script, then from a fixed sequence; the timer fires
// when the test says so.
class FakePlatform final : public Platform {
public:
    using Ms = std::chrono::milliseconds;

    // Runs action at the first doEvents() at or after virtual time when.
    void at(Ms when, std::function<void()> action);
    // Runs action at the n-th doEvents() from now (1 = the next one).
    void atPump(int n, std::function<void()> action);

    void doEvents() override;
    void sleep(Ms ms) override;
    double nextRandom() override;
    void reseed() override { ++reseeds; }
    void setTimerHandler(std::function<void()> handler) override
    {
        m_timerHandler = std::move(handler);
    }
    void setTimerInterval(Ms interval) override { timerInterval = interval; }
    void setTimerEnabled(bool enabled) override { m_timerEnabled = enabled; }
    bool isTimerEnabled() const override { return m_timerEnabled; }

    // Fires the timer as its interval would, if it is enabled; true if it fired.
    bool fireTimer();

    Ms totalSlept() const;
    // Every pause so far, in milliseconds, for comparing with an expected list.
    QList<int> sleepsInMs() const;
    // Called after every doEvents(), once the scripted input has run.
    std::function<void()> afterPump;

    Ms now { 0 };
    std::vector<Ms> sleeps;
    int pumps = 0;
    int reseeds = 0;
    int randomDraws = 0;
    std::deque<double> randoms;
    Ms timerInterval { 0 };

private:
    struct Scripted {
        Ms when;
        int pump; // 0 when scheduled by time
        std::function<void()> action;
    };
    std::vector<Scripted> m_script;
    std::function<void()> m_timerHandler;
    bool m_timerEnabled = false;
    unsigned m_sequence = 12345;
};
