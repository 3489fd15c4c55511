// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "QuestionPool.h"

#include <cmath>

void QuestionPool::add(std::int32_t code, const QString &key)
{
    Q_ASSERT(!contains(key));
    m_items.append({ code, key });
    m_positions.insert(key, code);
}

std::optional<std::int32_t> QuestionPool::item(const QString &key) const
{
    const auto found = m_positions.constFind(key);
    if (found == m_positions.cend())
        return std::nullopt;
    return *found;
}

std::int32_t QuestionPool::item(int position) const
{
    return m_items.at(position - 1).code;
}

QString QuestionPool::key(int position) const
{
    return m_items.at(position - 1).key;
}

void QuestionPool::remove(int position)
{
    m_positions.remove(m_items.at(position - 1).key);
    m_items.removeAt(position - 1);
}

void QuestionPool::clear()
{
    m_items.clear();
    m_positions.clear();
}

std::int32_t questionCode(std::int32_t a, std::int32_t b)
{
    return 10 * a + b;
}

QString poolKey(std::int32_t code)
{
    return QStringLiteral("K") + QString::number(code);
}

namespace {

// Each factor is 2..9, all equally likely. Times 8 is exact, so for any value below 1 its floor
// is at most 7; adding the 2 before the floor would round the values just below 1 up to 10.
std::int32_t drawFactor(const RandomSource &random)
{
    return static_cast<std::int32_t>(std::floor(8 * random.next())) + 2;
}

}

void FillPool(QuestionPool &pool, const RandomSource &random)
{
    random.reseed();
    for (int draws = 0; draws < MaxDraws && pool.count() < PoolSize; ++draws) {
        const std::int32_t a = drawFactor(random);
        const std::int32_t b = drawFactor(random);
        const std::int32_t code = questionCode(a, b);
        const QString key = poolKey(code);
        if (!pool.contains(key))
            pool.add(code, key);
    }
}

void EmptyPool(QuestionPool &pool)
{
    while (pool.count() > 0)
        pool.remove(1);
}
