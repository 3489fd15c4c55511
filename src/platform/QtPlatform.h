// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Platform.h"

#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <random>

// The platform as the program runs it: Qt's event queue, a pause that holds input back until the
// next pump (a close still ends it; on a desktop the thread sleeps, in a browser the page gets the
// time), a QTimer and a generator seeded from the clock (or from CORVALLO_SEED, so that a test
// can know the questions).
class QtPlatform final : public Platform {
public:
    // How a pause waits: the host's own wait unless a test stands in for it.
    using Wait = std::function<void(std::chrono::steady_clock::duration)>;

    explicit QtPlatform(Wait wait = {});

    void doEvents() override;
    void sleep(std::chrono::milliseconds ms) override;
    double nextRandom() override;
    void reseed() override;
    void setTimerHandler(std::function<void()> handler) override;
    void setTimerInterval(std::chrono::milliseconds interval) override;
    void setTimerEnabled(bool enabled) override;
    bool isTimerEnabled() const override;

private:
    Wait m_wait;
    QTimer m_timer;
    std::function<void()> m_timerHandler;
    std::mt19937 m_generator;
    std::optional<std::uint32_t> m_fixedSeed;
    std::uint32_t m_reseeds = 0;
};
