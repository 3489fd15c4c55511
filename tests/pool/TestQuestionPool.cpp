// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtPlatform.h"
#include "QuestionPool.h"

#include <QSet>
#include <QTest>

#include <cmath>
#include <deque>

// The pool of a random lesson: its 64 questions, their order, and the collection's positions.
class TestQuestionPool : public QObject
{
    Q_OBJECT

private:
    // A generator that plays back the given factor pairs, then repeats the last one.
    struct Script {
        std::deque<int> factors;
        int reseeds = 0;
        long draws = 0;
        RandomSource source()
        {
            return { [this] { ++reseeds; },
                [this] {
                    ++draws;
                    const int factor = factors.size() > 1 ? factors.front() : factors.back();
                    if (factors.size() > 1)
                        factors.pop_front();
                    return (factor - 2) / 8.0 + 0.01; // floor(8r) + 2 gives the factor back
                } };
        }
    };

    static QList<int> codes(const QuestionPool &pool)
    {
        QList<int> all;
        for (int position = 1; position <= pool.count(); ++position)
            all << pool.item(position);
        return all;
    }

private slots:
    void fillingGivesEveryQuestionOnceUnderItsKey()
    {
        QtPlatform platform;
        QuestionPool pool;
        FillPool(pool, { [&] { platform.reseed(); }, [&] { return platform.nextRandom(); } });
        QCOMPARE(pool.count(), 64);
        QSet<int> seen;
        for (int position = 1; position <= 64; ++position) {
            const int code = pool.item(position);
            QVERIFY2(code / 10 >= 2 && code / 10 <= 9 && code % 10 >= 2, qPrintable(QString::number(code)));
            QCOMPARE(pool.key(position), QStringLiteral("K%1").arg(code));
            QCOMPARE(pool.item(pool.key(position)), std::optional<std::int32_t>(code));
            seen.insert(code);
        }
        QCOMPARE(seen.size(), 64);
        QCOMPARE(pool.item(QStringLiteral("K21")), std::nullopt);
        QCOMPARE(pool.item(QStringLiteral("K100")), std::nullopt);
    }

    void questionsStandInTheOrderOfTheirFirstDraw()
    {
        Script script { { 3, 7, 3, 7, 9, 2, 3, 7, 2, 9 } };
        QuestionPool pool;
        // After the scripted pairs the generator repeats (9, 9) until the draw limit.
        script.factors.push_back(9);
        FillPool(pool, script.source());
        QCOMPARE(codes(pool), (QList<int> { 37, 92, 29, 99 }));
        QCOMPARE(script.reseeds, 1);
        // Only 4 of the 64 questions ever come: the draw limit ends the filling.
        QCOMPARE(script.draws, 2L * MaxDraws);
        QCOMPARE(pool.key(1), QStringLiteral("K37"));
    }

    void everyRandomValueGivesAFactorFrom2To9_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("factor");
        QTest::newRow("0") << 0.0 << 2;
        QTest::newRow("just below 1/8") << std::nextafter(0.125, 0.0) << 2;
        QTest::newRow("1/8") << 0.125 << 3;
        QTest::newRow("just below 1/2") << std::nextafter(0.5, 0.0) << 5;
        QTest::newRow("just below 7/8") << std::nextafter(0.875, 0.0) << 8;
        QTest::newRow("7/8") << 0.875 << 9;
        QTest::newRow("the largest value below 1") << std::nextafter(1.0, 0.0) << 9;
    }

    void everyRandomValueGivesAFactorFrom2To9()
    {
        QFETCH(double, value);
        QFETCH(int, factor);
        QuestionPool pool;
        FillPool(pool, { [] {}, [value] { return value; } });
        // The same value for both factors: one question, then the draw limit.
        QCOMPARE(codes(pool), QList<int> { questionCode(factor, factor) });
    }

    void aFullPoolDrawsNothing()
    {
        QtPlatform platform;
        QuestionPool pool;
        FillPool(pool, { [&] { platform.reseed(); }, [&] { return platform.nextRandom(); } });
        const QList<int> before = codes(pool);
        Script script { { 2 } };
        FillPool(pool, script.source());
        QCOMPARE(script.draws, 0L);
        QCOMPARE(codes(pool), before);
    }

    void aPartPoolKeepsItsQuestionsAndAppendsTheMissingOnes()
    {
        QtPlatform platform;
        QuestionPool pool;
        pool.add(55, QStringLiteral("K55"));
        pool.add(23, QStringLiteral("K23"));
        FillPool(pool, { [&] { platform.reseed(); }, [&] { return platform.nextRandom(); } });
        QCOMPARE(pool.count(), 64);
        QCOMPARE(pool.item(1), 55);
        QCOMPARE(pool.item(2), 23);
    }

    void reseededFillingsDiffer()
    {
        QtPlatform platform;
        QuestionPool first;
        QuestionPool second;
        const RandomSource random { [&] { platform.reseed(); }, [&] { return platform.nextRandom(); } };
        FillPool(first, random);
        FillPool(second, random);
        QVERIFY(codes(first) != codes(second));
    }

    void removeShiftsOnlyTheItemsBehind()
    {
        QuestionPool pool;
        for (int code : { 22, 33, 44, 55, 66 })
            pool.add(code, poolKey(code));
        pool.remove(3);
        QCOMPARE(codes(pool), (QList<int> { 22, 33, 55, 66 }));
        QCOMPARE(pool.key(3), QStringLiteral("K55"));
        QVERIFY(!pool.contains(QStringLiteral("K44")));
        pool.remove(4);
        pool.remove(1);
        QCOMPARE(codes(pool), (QList<int> { 33, 55 }));
        QCOMPARE(pool.item(QStringLiteral("K55")), std::optional<std::int32_t>(55));
        // A removed key may come back, at the end.
        pool.add(22, poolKey(22));
        QCOMPARE(codes(pool), (QList<int> { 33, 55, 22 }));
    }

    void emptying()
    {
        QuestionPool pool;
        EmptyPool(pool);
        QCOMPARE(pool.count(), 0);
        QtPlatform platform;
        FillPool(pool, { [&] { platform.reseed(); }, [&] { return platform.nextRandom(); } });
        EmptyPool(pool);
        QCOMPARE(pool.count(), 0);
        QVERIFY(!pool.contains(QStringLiteral("K22")));
    }

    void keysAndCodes()
    {
        QCOMPARE(questionCode(3, 7), 37);
        QCOMPARE(poolKey(37), QStringLiteral("K37"));
        QCOMPARE(poolKey(99), QStringLiteral("K99"));
    }
};

QTEST_GUILESS_MAIN(TestQuestionPool)
#include "TestQuestionPool.moc"
