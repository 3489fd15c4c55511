// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// The questions still to be asked in a random lesson: a keyed collection of question codes
// (10 × first factor + second factor), each under its key "K" + code. Positions are 1-based;
// removing an item moves the ones behind it forward and leaves earlier ones where they are.
class QuestionPool {
public:
    int count() const { return static_cast<int>(m_items.size()); }
    bool contains(const QString &key) const { return m_positions.contains(key); }

    // Appends code at position count() + 1; the key must be absent.
    void add(std::int32_t code, const QString &key);
    std::optional<std::int32_t> item(const QString &key) const;
    std::int32_t item(int position) const;
    QString key(int position) const;
    void remove(int position);
    void clear();

private:
    struct Entry {
        std::int32_t code;
        QString key;
    };
    QList<Entry> m_items;
    QHash<QString, std::int32_t> m_positions; // key -> code
};

std::int32_t questionCode(std::int32_t a, std::int32_t b);
QString poolKey(std::int32_t code);

// The generator a filling draws from: reseed() starts a new sequence, next() is uniform in [0, 1).
struct RandomSource {
    std::function<void()> reseed;
    std::function<double()> next;
};

constexpr int PoolSize = 64;
constexpr int MaxDraws = 100001;

// Reseeds, then draws factor pairs and appends each question at its first appearance, until the
// pool holds all 64 or the draw limit is reached. Pumps no events.
void FillPool(QuestionPool &pool, const RandomSource &random);
void EmptyPool(QuestionPool &pool);
