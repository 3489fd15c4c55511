// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakePlatform.h"

#include <numeric>

void FakePlatform::at(Ms when, std::function<void()> action)
{
    m_script.push_back({ when, 0, std::move(action) });
}

void FakePlatform::atPump(int n, std::function<void()> action)
{
    m_script.push_back({ Ms(0), pumps + n, std::move(action) });
}

void FakePlatform::doEvents()
{
    ++pumps;
    // Actions may script more actions or pump again themselves: take the due ones out first.
    std::vector<Scripted> due;
    for (auto it = m_script.begin(); it != m_script.end();) {
        const bool isDue = it->pump ? it->pump <= pumps : it->when <= now;
        if (isDue) {
            due.push_back(std::move(*it));
            it = m_script.erase(it);
        } else {
            ++it;
        }
    }
    for (auto &scripted : due)
        scripted.action();
    if (afterPump)
        afterPump();
}

void FakePlatform::sleep(Ms ms)
{
    sleeps.push_back(ms);
    now += ms;
}

double FakePlatform::nextRandom()
{
    ++randomDraws;
    if (!randoms.empty()) {
        const double value = randoms.front();
        randoms.pop_front();
        return value;
    }
    m_sequence = m_sequence * 1103515245u + 12345u;
    return (m_sequence >> 8) / double(1u << 24);
}

bool FakePlatform::fireTimer()
{
    if (!m_timerEnabled || !m_timerHandler)
        return false;
    m_timerHandler();
    return true;
}

FakePlatform::Ms FakePlatform::totalSlept() const
{
    return std::accumulate(sleeps.begin(), sleeps.end(), Ms(0));
}

QList<int> FakePlatform::sleepsInMs() const
{
    QList<int> all;
    for (const Ms pause : sleeps)
        all.append(int(pause.count()));
    return all;
}
