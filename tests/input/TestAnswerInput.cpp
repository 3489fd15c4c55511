// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AnswerInput.h"
#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "Frame.h"

#include <QTest>
#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace std::chrono_literals;

// The timed answer on the virtual clock: digits are keypad releases scripted into given ticks.
class TestAnswerInput : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
        form->state().DelayFactor = 6; // the pace of level 4: a tick is 60 ms
        form->state().Score = 1000;
        form->state().LastKey = -1;
        platform->afterPump = [this] { padShownAtPump.push_back(!frameNum()->isHidden()); };
        padShownAtPump.clear();
    }
    void cleanup()
    {
        form.reset();
        platform.reset();
    }

    void readAnswer_data()
    {
        QTest::addColumn<int>("expected");
        QTest::addColumn<QList<int>>("ticks"); // counted from the start of the answer
        QTest::addColumn<QList<int>>("digits");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("ticksRun");

        using L = QList<int>;
        QTest::newRow("2x3, 6 in tick 10") << 6 << L { 10 } << L { 6 } << 6 << false << 140 << 10;
        QTest::newRow("2x3, 5 in tick 3") << 6 << L { 3 } << L { 5 } << 5 << false << 0 << 3;
        QTest::newRow("2x3, nothing") << 6 << L {} << L {} << 0 << true << 0 << 150;
        QTest::newRow("2x3, 6 in tick 1") << 6 << L { 1 } << L { 6 } << 6 << false << 149 << 1;
        QTest::newRow("2x3, 6 in tick 149") << 6 << L { 149 } << L { 6 } << 6 << false << 1 << 149;
        QTest::newRow("2x3, 6 in tick 150") << 6 << L { 150 } << L { 6 } << 0 << true << 0 << 150;
        QTest::newRow("2x3, 6 then 7") << 6 << L { 2, 3 } << L { 6, 7 } << 6 << false << 148 << 2;
        QTest::newRow("2x2, 0 in tick 4") << 4 << L { 4 } << L { 0 } << 0 << false << 0 << 4;
        QTest::newRow("6x7, 4 then 2")
            << 42 << L { 20, 120 } << L { 4, 2 } << 42 << false << 130 << 120;
        QTest::newRow("6x7, 4 then 2 in the last tick it may come")
            << 42 << L { 1, 150 } << L { 4, 2 } << 42 << false << 149 << 150;
        QTest::newRow("6x7, 2 then 4") << 42 << L { 5, 6 } << L { 2, 4 } << 24 << false << 0 << 6;
        QTest::newRow("6x7, nothing") << 42 << L {} << L {} << 0 << true << 0 << 150;
        QTest::newRow("6x7, 4 then nothing") << 42 << L { 5 } << L { 4 } << 40 << true << 0 << 155;
        QTest::newRow("6x7, 4 then 2 in the 150th tick")
            << 42 << L { 5, 155 } << L { 4, 2 } << 40 << true << 0 << 155;
        QTest::newRow("6x7, 4 in the 150th tick")
            << 42 << L { 150 } << L { 4 } << 0 << true << 0 << 150;
        QTest::newRow("4x5, 2 then nothing")
            << 20 << L { 5 } << L { 2 } << 20 << true << 145 << 155;
        QTest::newRow("9x9, 8 then 1") << 81 << L { 7, 9 } << L { 8, 1 } << 81 << false << 143 << 9;
        QTest::newRow("9x9, 9 then 9") << 81 << L { 7, 9 } << L { 9, 9 } << 99 << false << 0 << 9;
    }

    void readAnswer()
    {
        QFETCH(int, expected);
        QFETCH(QList<int>, ticks);
        QFETCH(QList<int>, digits);
        QFETCH(int, answer);
        QFETCH(bool, timedOut);
        QFETCH(int, points);
        QFETCH(int, ticksRun);

        for (int i = 0; i < ticks.size(); ++i)
            releaseDuringTick(ticks[i], digits[i]);
        QVERIFY(frameNum()->isHidden());

        bool gotTimedOut = !timedOut;
        std::int32_t gotAnswer = -1;
        AnswerInput(context()).ReadAnswer(expected, gotTimedOut, gotAnswer);

        QCOMPARE(gotAnswer, answer);
        QCOMPARE(gotTimedOut, timedOut);
        QCOMPARE(form->state().Score - 1000, points);
        QCOMPARE(int(platform->sleeps.size()), ticksRun);
        for (const auto slept : platform->sleeps)
            QCOMPARE(slept, 60ms);
        // The pad is up at every pump of the wait and down again afterwards.
        QVERIFY(frameNum()->isHidden());
        QCOMPARE(int(padShownAtPump.size()), platform->pumps);
        QVERIFY(
            std::all_of(padShownAtPump.begin(), padShownAtPump.end(), [](bool s) { return s; }));
    }

    void waitDigit_data()
    {
        QTest::addColumn<int>("digitTick"); // 0: no digit
        QTest::addColumn<int>("digit");
        QTest::addColumn<int>("stopTick"); // 0: no stop
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("remaining");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("ticksRun");

        constexpr int Untouched = -777;
        QTest::newRow("0 in tick 1") << 1 << 0 << 0 << false << 149 << 0 << 1;
        QTest::newRow("9 in tick 10") << 10 << 9 << 0 << false << 140 << 9 << 10;
        QTest::newRow("5 in tick 149") << 149 << 5 << 0 << false << 1 << 5 << 149;
        QTest::newRow("5 in tick 150") << 150 << 5 << 0 << true << Untouched << 0 << 150;
        QTest::newRow("nothing") << 0 << 0 << 0 << true << Untouched << 0 << 150;
        QTest::newRow("stop in tick 7") << 0 << 0 << 7 << true << Untouched << 0 << 7;
        QTest::newRow("stop and 3 in tick 7") << 7 << 3 << 7 << true << Untouched << 0 << 7;
        QTest::newRow("3 in tick 6, stop in tick 7") << 6 << 3 << 7 << false << 144 << 3 << 6;
    }

    void waitDigit()
    {
        QFETCH(int, digitTick);
        QFETCH(int, digit);
        QFETCH(int, stopTick);
        QFETCH(bool, timedOut);
        QFETCH(int, remaining);
        QFETCH(int, result);
        QFETCH(int, ticksRun);

        if (stopTick)
            platform->at(midTick(stopTick), [this] { form->state().StopRequested = true; });
        if (digitTick)
            releaseDuringTick(digitTick, digit);

        bool gotTimedOut = !timedOut;
        std::int32_t gotRemaining = -777;
        std::int32_t gotDigit = -1;
        AnswerInput(context()).WaitDigit(gotTimedOut, gotRemaining, gotDigit);

        QCOMPARE(gotTimedOut, timedOut);
        QCOMPARE(gotRemaining, remaining);
        QCOMPARE(gotDigit, result);
        QCOMPARE(int(platform->sleeps.size()), ticksRun);
    }

    // "Stop" clicked while the question mark faded in: the first wait ends after one tick, even
    // with a digit given in it, and no second wait follows.
    void stopAlreadyRequested_data()
    {
        QTest::addColumn<int>("digit"); // -1: none
        QTest::newRow("no digit") << -1;
        QTest::newRow("4 in the first tick") << 4;
    }

    void stopAlreadyRequested()
    {
        QFETCH(int, digit);
        form->state().StopRequested = true;
        if (digit >= 0)
            releaseDuringTick(1, digit);

        bool timedOut = false;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(42, timedOut, answer);

        QCOMPARE(platform->sleeps, std::vector<FakePlatform::Ms> { 60ms });
        QCOMPARE(answer, 0);
        QVERIFY(timedOut);
        QCOMPARE(form->state().Score, 1000);
        QVERIFY(frameNum()->isHidden());
    }

    // Typed while the question was still being shown: the wait starts without it.
    void digitBeforeTheWaitIsDiscarded()
    {
        form->Form_KeyDown(100, 0);
        form->Form_KeyUp(100, 0);
        QCOMPARE(form->state().LastKey, 100);

        bool timedOut = false;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(4, timedOut, answer);

        QCOMPARE(answer, 0);
        QVERIFY(timedOut);
        QCOMPARE(int(platform->sleeps.size()), 150);
        QCOMPARE(form->state().Score, 1000);
    }

    // Keypad 4 and 2 released within one tick: one of them is the first digit, the other is
    // lost, and the second wait runs out.
    void twoReleasesInOneTickAreOneDigit()
    {
        platform->at(midTick(5), [this] {
            form->Form_KeyDown(100, 0);
            form->Form_KeyDown(98, 0);
        });
        platform->at(midTick(5) + 5ms, [this] { form->Form_KeyUp(100, 0); });
        platform->at(midTick(5) + 10ms, [this] { form->Form_KeyUp(98, 0); });

        bool timedOut = false;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(42, timedOut, answer);

        QVERIFY2(answer == 40 || answer == 20, qPrintable(QString::number(answer)));
        QVERIFY(timedOut);
        QCOMPARE(int(platform->sleeps.size()), 5 + 150);
    }

    void everyTickSleepsThenPumps_data()
    {
        QTest::addColumn<int>("delayFactor");
        QTest::newRow("level 4") << 6;
        QTest::newRow("level 5") << 3;
        QTest::newRow("start-up pace") << 10;
    }

    void everyTickSleepsThenPumps()
    {
        QFETCH(int, delayFactor);
        form->state().DelayFactor = delayFactor;
        std::vector<FakePlatform::Ms> pumpedAt;
        platform->afterPump = [&] { pumpedAt.push_back(platform->now); };

        bool timedOut = false;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(42, timedOut, answer);

        const FakePlatform::Ms tick(delayFactor * 10);
        QCOMPARE(platform->sleeps, std::vector<FakePlatform::Ms>(150, tick));
        QCOMPARE(pumpedAt.size(), 150u);
        for (std::size_t i = 0; i < pumpedAt.size(); ++i)
            QCOMPARE(pumpedAt[i], tick * int(i + 1));
    }

    // The pace can change while a wait runs; each tick sleeps by the pace it finds.
    void paceIsReadAtEveryTick()
    {
        platform->at(midTick(5), [this] { form->state().DelayFactor = 3; });

        bool timedOut = false;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(6, timedOut, answer);

        std::vector<FakePlatform::Ms> expected(5, 60ms);
        expected.resize(150, 30ms);
        QCOMPARE(platform->sleeps, expected);
    }

    void scoreLimit_data()
    {
        QTest::addColumn<int>("scoreBefore");
        QTest::addColumn<bool>("overflows");
        constexpr int Max = std::numeric_limits<std::int32_t>::max();
        QTest::newRow("reaches the largest score") << Max - 140 << false;
        QTest::newRow("would pass it") << Max - 139 << true;
    }

    // A score that would not fit is a fault of the lesson, not a wrapped, negative score.
    void scoreLimit()
    {
        QFETCH(int, scoreBefore);
        QFETCH(bool, overflows);
        form->state().Score = scoreBefore;
        releaseDuringTick(10, 6);

        bool timedOut = true;
        std::int32_t answer = -1;
        if (overflows) {
            QVERIFY_THROWS_EXCEPTION(
                std::overflow_error, AnswerInput(context()).ReadAnswer(6, timedOut, answer));
            QCOMPARE(form->state().Score, scoreBefore);
        } else {
            AnswerInput(context()).ReadAnswer(6, timedOut, answer);
            QCOMPARE(form->state().Score, std::numeric_limits<std::int32_t>::max());
        }
        QVERIFY(frameNum()->isHidden());
    }

private:
    Frame *frameNum() const { return form->controls().FrameNum; }
    FormContext context() { return { form->controls(), form->state(), *platform }; }

    // Within tick t, which ends at t × 60 ms, before its pump.
    static FakePlatform::Ms midTick(int t) { return FakePlatform::Ms(60 * t - 30); }

    void releaseDuringTick(int tick, int digit)
    {
        const auto code = static_cast<std::int16_t>(96 + digit);
        platform->at(midTick(tick), [this, code] {
            form->Form_KeyDown(code, 0);
            form->Form_KeyUp(code, 0);
        });
    }

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
    std::vector<bool> padShownAtPump;
};

QTEST_MAIN(TestAnswerInput)
#include "TestAnswerInput.moc"
