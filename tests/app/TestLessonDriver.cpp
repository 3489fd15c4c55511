// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "FormState.h"
#include "Frame.h"
#include "Label.h"

#include <QTest>

#include <deque>
#include <memory>
#include <optional>
#include <set>

using namespace std::chrono_literals;

// Whole lessons on the virtual clock, with a scripted child answering through the digit pad.
class TestLessonDriver : public QObject
{
    Q_OBJECT

private:
    struct Question {
        int a;
        int b;
        int delayFactor;
        QString status; // the status line once the question is done
    };

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
    std::vector<Question> shown;
    // Answers to give, by question number (0-based, over the whole lesson); unlisted are right.
    std::map<int, int> answers;
    std::deque<int> digitsToGive;
    bool padWasVisible = false;
    QString lastStatus;
    bool inSecondFactorStart = false;
    std::function<void()> onPump;

    const FormControls &c() const { return form->controls(); }
    FormState &s() { return form->state(); }

    // Watches the screen after every pump: notes each question as it starts and the status line
    // as it changes, and answers like a child when the digit pad shows.
    void watch()
    {
        // Every question fades its second factor in, and the fade's first step is grey(15).
        const bool secondFactorStarts = c().Label2->foreColor() == grey(15);
        if (secondFactorStarts && !inSecondFactorStart)
            shown.push_back({ c().Label1->caption().toInt(), c().Label2->caption().toInt(), s().DelayFactor, {} });
        inSecondFactorStart = secondFactorStarts;
        if (c().LabelG->caption() != lastStatus) {
            lastStatus = c().LabelG->caption();
            if (!shown.empty() && s().Running)
                shown.back().status = lastStatus;
        }
        const bool padVisible = !c().FrameNum->isHidden();
        if (padVisible && !padWasVisible) {
            const int index = int(shown.size()) - 1;
            const auto wrong = answers.find(index);
            const int answer = wrong != answers.end() ? wrong->second : shown.back().a * shown.back().b;
            digitsToGive.clear();
            if (answer >= 0) {
                if (answer > 9)
                    digitsToGive.push_back(answer / 10);
                digitsToGive.push_back(answer % 10);
            }
        }
        padWasVisible = padVisible;
        if (padVisible && s().LastKey == -1 && !digitsToGive.empty()) {
            form->LabelDigit_Click(static_cast<std::int16_t>(digitsToGive.front()));
            digitsToGive.pop_front();
        }
        if (onPump)
            onPump();
    }

    void startLesson(int level)
    {
        form->LabelLevel_Click(static_cast<std::int16_t>(level));
        QVERIFY(platform->fireTimer());
    }

    static QString status(int remaining, int right, int wrong, int score)
    {
        return QStringLiteral("Rimanenti: %1         Giusti: %2         Sbagliati: %3         Punteggio: %4")
            .arg(remaining)
            .arg(right)
            .arg(wrong)
            .arg(score);
    }

    void verifyMenuIsBack()
    {
        QVERIFY(!s().Running);
        QVERIFY(!c().FrameLevel->isHidden());
        QVERIFY(!c().LabelStop->isHidden());
        QVERIFY(c().FrameNum->isHidden());
        for (Label *label : c().questionLabels()) {
            QCOMPARE(label->caption(), QString());
            QCOMPARE(label->foreColor(), Colours::Black);
        }
    }

private slots:
    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
        form->Form_Load(std::nullopt);
        form->Form_Resize();
        shown.clear();
        answers.clear();
        digitsToGive.clear();
        padWasVisible = false;
        lastStatus.clear();
        inSecondFactorStart = false;
        onPump = nullptr;
        platform->afterPump = [this] { watch(); };
    }

    void cleanup()
    {
        platform->afterPump = nullptr;
        form.reset();
        platform.reset();
    }

    void levelThreeShowsEveryQuestionOnce()
    {
        startLesson(3);
        QCOMPARE(int(shown.size()), 64);
        std::set<int> codes;
        for (const Question &q : shown) {
            codes.insert(10 * q.a + q.b);
            QCOMPARE(q.delayFactor, 6);
        }
        QCOMPARE(int(codes.size()), 64);
        QCOMPARE(*codes.begin(), 22);
        QCOMPARE(*codes.rbegin(), 99);
        QCOMPARE(shown.front().status, status(63, 0, 0, 0));
        QCOMPARE(shown.back().status, status(0, 0, 0, 0));
        QVERIFY(c().LabelG->isHidden());
        QCOMPARE(form->pool().count(), 0);
        verifyMenuIsBack();
    }

    void orderedTablesKeepTheirPace_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("slowerEachTable");
        QTest::newRow("level 1 at the start-up pace") << 1 << false;
        QTest::newRow("level 2 slower with each table") << 2 << true;
        QTest::newRow("below 1 as level 1") << -1 << false;
    }

    void orderedTablesKeepTheirPace()
    {
        QFETCH(int, level);
        QFETCH(bool, slowerEachTable);
        s().DelayFactor = 3; // as a level-5 lesson leaves it
        startLesson(level);
        QCOMPARE(int(shown.size()), 64);
        for (int i = 0; i < 64; ++i) {
            QCOMPARE(shown[i].a, 2 + i / 8);
            QCOMPARE(shown[i].b, 2 + i % 8);
            QCOMPARE(shown[i].delayFactor, slowerEachTable ? shown[i].a + 1 : 10);
        }
        QVERIFY(c().LabelG->isHidden());
        verifyMenuIsBack();
    }

    void randomLevelsKeepTheirPace_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("fromCommandLine");
        QTest::addColumn<int>("delayFactor");
        QTest::newRow("Livello 4") << 4 << false << 6;
        QTest::newRow("Livello 5") << 5 << false << 3;
        QTest::newRow("4 from the command line") << 4 << true << 6;
        QTest::newRow("7 from the command line") << 7 << true << 3;
    }

    void randomLevelsKeepTheirPace()
    {
        QFETCH(int, level);
        QFETCH(bool, fromCommandLine);
        QFETCH(int, delayFactor);
        s().DelayFactor = level >= 5 ? 6 : 3; // a pace the lesson must not keep
        answers = { { 1, 1 } };
        onPump = [this] {
            if (shown.size() == 3 && !s().StopRequested)
                form->LabelStop_Click();
        };
        if (fromCommandLine) {
            form->Form_Load(static_cast<std::int16_t>(level));
            QVERIFY(platform->fireTimer());
        } else {
            startLesson(level);
        }
        // The pace holds through right and wrong answers.
        QCOMPARE(int(shown.size()), 3);
        QCOMPARE(s().WrongCount, 1);
        for (const Question &q : shown)
            QCOMPARE(q.delayFactor, delayFactor);
        verifyMenuIsBack();
    }

    void allRightEndsAfterOnePass()
    {
        startLesson(4);
        QCOMPARE(int(shown.size()), 64);
        QCOMPARE(s().RightCount, 64);
        QCOMPARE(s().Score, 64 * 149);
        for (int i = 0; i < 64; ++i)
            QCOMPARE(shown[i].status, status(63 - i, i + 1, 0, (i + 1) * 149));
        QCOMPARE(c().LabelG->caption(), status(0, 64, 0, 64 * 149));
        QVERIFY(!c().LabelG->isHidden());
        verifyMenuIsBack();
    }

    void wrongAnswersComeBackInTheirOrder()
    {
        answers = { { 0, 1 }, { 5, 0 }, { 9, -1 }, { 64, 1 } }; // two wrong, one late; the first again
        startLesson(5);
        QCOMPARE(int(shown.size()), 64 + 3 + 1);
        QCOMPARE(shown[64].a, shown[0].a);
        QCOMPARE(shown[64].b, shown[0].b);
        QCOMPARE(shown[65].a * 10 + shown[65].b, shown[5].a * 10 + shown[5].b);
        QCOMPARE(shown[66].a * 10 + shown[66].b, shown[9].a * 10 + shown[9].b);
        QCOMPARE(shown[67].a * 10 + shown[67].b, shown[0].a * 10 + shown[0].b);
        QCOMPARE(shown[0].status, status(64, 0, 1, 0));
        QCOMPARE(shown[1].status, status(63, 1, 1, 149));
        QCOMPARE(shown[64].status, status(3, 61, 4, 61 * 149));
        QCOMPARE(s().RightCount, 64);
        QCOMPARE(s().WrongCount, 4);
        QCOMPARE(s().DelayFactor, 3);
        verifyMenuIsBack();
    }

    void stoppingEndsTheLesson_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("stopAtMs");
        QTest::addColumn<int>("questions");
        QTest::newRow("level 1, first factor fading") << 1 << 100 << 1;
        QTest::newRow("level 2, third question") << 2 << 14000 << 3;
        QTest::newRow("level 3, second question") << 3 << 12000 << 2;
    }

    void stoppingEndsTheLesson()
    {
        QFETCH(int, level);
        QFETCH(int, stopAtMs);
        QFETCH(int, questions);
        platform->at(std::chrono::milliseconds(stopAtMs), [this] { form->LabelStop_Click(); });
        startLesson(level);
        QCOMPARE(int(shown.size()), questions);
        QVERIFY(platform->now < std::chrono::milliseconds(stopAtMs) + 2s);
        verifyMenuIsBack();
        QVERIFY(!form->isUnloaded());
        // Now "Stop" in the menu ends the program.
        form->LabelStop_Click();
        QVERIFY(form->isUnloaded());
    }

    void stopWhileTheQuestionMarkFadesInCountsAsLate()
    {
        onPump = [this] {
            if (c().LabelR->caption() == "?" && !s().StopRequested)
                form->LabelStop_Click();
        };
        startLesson(4);
        QCOMPARE(int(shown.size()), 1);
        QCOMPARE(s().WrongCount, 1);
        QCOMPARE(c().LabelG->caption(), status(64, 0, 1, 0));
        verifyMenuIsBack();
    }

    void aLessonNeverStartsWithLeftovers()
    {
        form->pool().add(11, QStringLiteral("K11"));
        form->pool().add(37, QStringLiteral("K37"));
        onPump = [this] {
            if (s().Running && !s().StopRequested)
                form->LabelStop_Click();
        };
        startLesson(4);
        // The fresh 64, less the one question cut short before its answer was judged.
        QCOMPARE(form->pool().count(), 63);
        QVERIFY(!form->pool().contains(QStringLiteral("K11")));
        QCOMPARE(s().WrongCount, 0);
    }

    void closingDuringALessonStopsIt()
    {
        platform->at(20s, [this] { form->close(); });
        startLesson(4);
        QVERIFY(form->isUnloaded());
        QVERIFY(platform->now < 21s);
        QVERIFY(!s().Running);
        QVERIFY(!platform->isTimerEnabled());
    }

    void aLevelChosenDuringALessonReplacesIt_data()
    {
        QTest::addColumn<bool>("fromCommandLine");
        QTest::addColumn<bool>("stopBeforeItReturns");
        QTest::newRow("a resize shows the menu") << false << false;
        QTest::newRow("started from the command line") << true << false;
        QTest::newRow("Stop while the old one returns") << false << true;
    }

    void aLevelChosenDuringALessonReplacesIt()
    {
        QFETCH(bool, fromCommandLine);
        QFETCH(bool, stopBeforeItReturns);
        std::optional<bool> menuOverTheLesson;
        onPump = [&] {
            if (s().Running && s().Level == 4 && shown.size() == 2 && !s().StopRequested) {
                if (!fromCommandLine)
                    form->Form_Resize();
                if (!menuOverTheLesson)
                    menuOverTheLesson = !c().FrameLevel->isHidden();
                form->LabelLevel_Click(2);
                if (stopBeforeItReturns)
                    form->LabelStop_Click();
            }
        };
        if (fromCommandLine) {
            // The window is shown after the level is chosen, and its first layout shows the menu.
            form->Form_Load(4);
            QVERIFY(c().FrameLevel->isHidden());
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            QVERIFY(platform->fireTimer());
        } else {
            startLesson(4);
        }
        QCOMPARE(menuOverTheLesson, std::optional<bool>(true));
        // The running lesson stops first; the new one waits for its timer.
        QCOMPARE(int(shown.size()), 2);
        if (stopBeforeItReturns) {
            verifyMenuIsBack();
            QVERIFY(!platform->isTimerEnabled());
            QVERIFY(!form->isUnloaded());
            return;
        }
        QVERIFY(!s().Running);
        QCOMPARE(int(s().Level), 2);
        QVERIFY(!s().QuizMode);
        QVERIFY(platform->isTimerEnabled());
        QVERIFY(c().FrameLevel->isHidden());
        onPump = nullptr;
        shown.clear();
        QVERIFY(platform->fireTimer());
        QCOMPARE(int(shown.size()), 64);
        QCOMPARE(shown.front().delayFactor, 3);
    }

    void aFaultEndsTheLessonLikeAStop_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("level 1, during a fade") << 1;
        QTest::newRow("level 4, while the digit pad waits") << 4;
    }

    void aFaultEndsTheLessonLikeAStop()
    {
        QFETCH(int, level);
        bool faulted = false;
        onPump = [&] {
            // A pace out of range makes the next pause fail.
            if (level < 4 || !c().FrameNum->isHidden()) {
                s().DelayFactor = 0x7fffffff;
                faulted = true;
            }
        };
        digitsToGive.clear();
        answers = { { 0, -1 } };
        startLesson(level);
        QVERIFY(faulted);
        QVERIFY(shown.size() <= 1); // the lesson went no further
        verifyMenuIsBack();
    }
};

QTEST_MAIN(TestLessonDriver)
#include "TestLessonDriver.moc"
