// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Animations.h"
#include "FakePlatform.h"
#include "FormMain.h"
#include "LabelTrace.h"

#include <QTest>
#include <memory>

using namespace std::chrono_literals;
using Ms = FakePlatform::Ms;

Q_DECLARE_METATYPE(QList<int>)

namespace {

// Pauses in milliseconds, in the order taken.
QList<int> pausesOf(int count, int each)
{
    return QList<int>(count, each);
}

}

// The fades, the blink and the dot grid on the virtual clock: every colour shown at each pump,
// every pause, and what a stop request leaves on the screen.
class TestAnimations : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
        form->Form_Load(std::nullopt);
        trace = std::make_unique<LabelTrace>(*platform, form->controls());
    }
    void cleanup()
    {
        trace.reset();
        form.reset();
        platform.reset();
    }

    void fadeInShowsEveryGreyThenPauses_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QList<int>>("greys");
        QTest::addColumn<int>("unitsSlept");

        const QList<int> by16 { 15, 31, 47, 63, 79, 95, 111, 127, 143, 159, 175, 191, 207, 223, 239,
            255 };
        const QList<int> by32 { 31, 63, 95, 127, 159, 191, 223, 255 };
        const QList<int> by64 { 63, 127, 191, 255 };
        const QList<int> by128 { 127, 255 };
        for (const int delay : { 3, 10 }) {
            const QByteArray pace = " at pace " + QByteArray::number(delay);
            QTest::newRow("step 16" + pace) << 16 << delay << by16 << 96;
            QTest::newRow("step 32" + pace) << 32 << delay << by32 << 48;
            QTest::newRow("step 64" + pace) << 64 << delay << by64 << 24;
            QTest::newRow("step 128" + pace) << 128 << delay << by128 << 12;
        }
    }
    void fadeInShowsEveryGreyThenPauses()
    {
        QFETCH(int, step);
        QFETCH(int, delay);
        QFETCH(QList<int>, greys);
        QFETCH(int, unitsSlept);
        const FormControls &c = form->controls();
        form->state().DelayFactor = delay;

        animations().FadeIn(*c.LabelX, QStringLiteral("X"), step);

        QCOMPARE(trace->greys(LabelTrace::Sign), greys);
        for (std::size_t i = 0; i < trace->frames.size(); ++i) {
            QCOMPARE(trace->frames[i].captions[LabelTrace::Sign], QStringLiteral("X"));
            // Each level is shown before its pause, not after.
            QCOMPARE(trace->frames[i].pausesBefore, i);
        }
        QCOMPARE(platform->sleepsInMs(), pausesOf(greys.size(), 6 * delay));
        QCOMPARE(int(platform->totalSlept().count()), unitsSlept * delay);
        QCOMPARE(c.LabelX->foreColor(), Colours::White);
        for (Label *other : { c.Label1, c.Label2, c.LabelP, c.LabelR }) {
            QCOMPARE(other->foreColor(), Colours::Black);
            QCOMPARE(other->caption(), QString());
        }
    }

    void fadeInStopsAfterThePause_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("stopAtPump");
        QTest::addColumn<int>("grey");
        QTest::addColumn<int>("pauses");

        QTest::newRow("already stopped, step 16") << 16 << 0 << 15 << 1;
        QTest::newRow("already stopped, step 128") << 128 << 0 << 127 << 1;
        QTest::newRow("stopped in the third step of 16") << 16 << 3 << 47 << 3;
        QTest::newRow("stopped in the second step of 64") << 64 << 2 << 127 << 2;
        QTest::newRow("stopped in the last step of 32") << 32 << 8 << 255 << 8;
    }
    void fadeInStopsAfterThePause()
    {
        QFETCH(int, step);
        QFETCH(int, stopAtPump);
        QFETCH(int, grey);
        QFETCH(int, pauses);
        FormState &state = form->state();
        if (stopAtPump == 0)
            state.StopRequested = true;
        else
            platform->atPump(stopAtPump, [&state] { state.StopRequested = true; });

        animations().FadeIn(*form->controls().Label1, QStringLiteral("8"), step);

        QCOMPARE(form->controls().Label1->caption(), QStringLiteral("8"));
        QCOMPARE(form->controls().Label1->foreColor(), ::grey(grey));
        QCOMPARE(platform->sleepsInMs(), pausesOf(pauses, 6 * state.DelayFactor));
    }

    void fadeOutDarkensTheGridLast_data()
    {
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("stopAtPump");
        QTest::addColumn<int>("gridBefore");
        QTest::addColumn<QList<int>>("others");
        QTest::addColumn<QList<int>>("grid");

        const QList<int> others { 224, 192, 160, 128, 96, 64, 32, 0 };
        const QList<int> grid { 64, 64, 64, 64, 64, 64, 32, 0 };
        QTest::newRow("whole fade at pace 3") << 3 << 0 << 64 << others << grid;
        QTest::newRow("whole fade at pace 10") << 10 << 0 << 64 << others << grid;
        QTest::newRow("stopped in the first step")
            << 10 << 1 << 64 << others.mid(0, 1) << grid.mid(0, 1);
        QTest::newRow("stopped at the grid's own grey")
            << 6 << 6 << 64 << others.mid(0, 6) << grid.mid(0, 6);
        QTest::newRow("stopped once the grid darkens")
            << 6 << 7 << 64 << others.mid(0, 7) << grid.mid(0, 7);
        // The grid is left alone until the common grey drops below 64, whatever its own grey.
        QTest::newRow("grid brighter than its rest")
            << 6 << 0 << 192 << others << QList<int> { 192, 192, 192, 192, 192, 192, 32, 0 };
    }
    void fadeOutDarkensTheGridLast()
    {
        QFETCH(int, delay);
        QFETCH(int, stopAtPump);
        QFETCH(int, gridBefore);
        QFETCH(QList<int>, others);
        QFETCH(QList<int>, grid);
        const FormControls &c = form->controls();
        FormState &state = form->state();
        state.DelayFactor = delay;
        showWholeQuestion();
        c.LabelP->setForeColor(::grey(gridBefore));
        if (stopAtPump)
            platform->atPump(stopAtPump, [&state] { state.StopRequested = true; });

        animations().FadeOut();

        QCOMPARE(trace->greys(LabelTrace::First), others);
        QCOMPARE(trace->greys(LabelTrace::Sign), others);
        QCOMPARE(trace->greys(LabelTrace::Second), others);
        QCOMPARE(trace->greys(LabelTrace::Grid), grid);
        QCOMPARE(trace->greys(LabelTrace::Product), others);
        QCOMPARE(platform->sleepsInMs(), pausesOf(others.size(), 10 * delay));
        if (!stopAtPump)
            QCOMPARE(int(platform->totalSlept().count()), 80 * delay);
        QCOMPARE(c.LabelP->foreColor(), ::grey(grid.last()));
        QCOMPARE(c.LabelR->foreColor(), ::grey(others.last()));
        expectQuestionCaptions();
    }

    void blinkFlashesTwiceAtAFixedPace_data()
    {
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("stopAtPump");
        QTest::addColumn<int>("flashes");

        QTest::newRow("whole blink at pace 3") << 3 << 0 << 2;
        QTest::newRow("whole blink at pace 10") << 10 << 0 << 2;
        QTest::newRow("stop while the first flash is lit") << 10 << 1 << 1;
        QTest::newRow("stop while the first flash is dark") << 3 << 2 << 1;
        QTest::newRow("stop while the second flash is lit") << 6 << 3 << 2;
    }
    void blinkFlashesTwiceAtAFixedPace()
    {
        QFETCH(int, delay);
        QFETCH(int, stopAtPump);
        QFETCH(int, flashes);
        const FormControls &c = form->controls();
        FormState &state = form->state();
        state.DelayFactor = delay;
        showWholeQuestion();
        if (stopAtPump)
            platform->atPump(stopAtPump, [&state] { state.StopRequested = true; });

        animations().Blink();

        // The grid lights only to its resting grey; a flash ends dark, pause included.
        const std::array<Rgb, 5> lit { Colours::White, Colours::White, Colours::White, grey(64),
            Colours::White };
        const std::array<Rgb, 5> dark { Colours::Black, Colours::Black, Colours::Black,
            Colours::Black, Colours::Black };
        QCOMPARE(trace->frames.size(), std::size_t(2 * flashes));
        QList<int> expectedPauses;
        for (int flash = 0; flash < flashes; ++flash) {
            QVERIFY(trace->frames[2 * flash].colours == lit);
            QVERIFY(trace->frames[2 * flash + 1].colours == dark);
            expectedPauses << 150 << 300;
        }
        QCOMPARE(platform->sleepsInMs(), expectedPauses);
        for (Label *label : c.questionLabels())
            QCOMPARE(label->foreColor(), Colours::Black);
        expectQuestionCaptions();
    }

    void dotGridDrawsRowsThenDims_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("quiz");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QString>("row");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("unitsSlept");

        const QString seven = QStringLiteral(" O  O  O  O  O  O  O ");
        const QString nine = QStringLiteral(" O  O  O  O  O  O  O  O  O ");
        const QString two = QStringLiteral(" O  O ");
        QTest::newRow("7x8 at pace 10") << 7 << 8 << false << 10 << seven << 184 << 412;
        QTest::newRow("7x8 at pace 3") << 7 << 8 << false << 3 << seven << 184 << 412;
        QTest::newRow("9x9 at pace 6") << 9 << 9 << false << 6 << nine << 261 << 442;
        QTest::newRow("2x3 at pace 10") << 2 << 3 << false << 10 << two << 24 << 262;
        QTest::newRow("7x8 in quiz mode") << 7 << 8 << true << 6 << seven << 184 << 0;
        QTest::newRow("9x9 in quiz mode") << 9 << 9 << true << 3 << nine << 261 << 0;
    }
    void dotGridDrawsRowsThenDims()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(bool, quiz);
        QFETCH(int, delay);
        QFETCH(QString, row);
        QFETCH(int, length);
        QFETCH(int, unitsSlept);
        const FormControls &c = form->controls();
        form->state().DelayFactor = delay;
        form->state().QuizMode = quiz;
        showWholeQuestion();

        animations().DrawDotGrid(a, b);

        const QString line = row + QStringLiteral("\r\n");
        QCOMPARE(c.LabelP->caption(), line.repeated(b));
        QCOMPARE(c.LabelP->caption().size(), length);
        QCOMPARE(c.LabelP->foreColor(), grey(64));
        QCOMPARE(c.LabelR->caption(), QString());
        QCOMPARE(int(platform->totalSlept().count()), unitsSlept * delay);

        // The rows come one per pump, in white, with the product label already blank.
        QList<int> expectedGreys(b, 255);
        if (!quiz)
            expectedGreys << 240 << 224 << 208 << 192 << 176 << 160 << 144 << 128 << 112 << 96 << 80
                          << 64;
        QCOMPARE(trace->greys(LabelTrace::Grid), expectedGreys);
        for (int i = 0; i < b; ++i) {
            QCOMPARE(trace->frames[i].captions[LabelTrace::Grid], line.repeated(i + 1));
            QCOMPARE(trace->frames[i].captions[LabelTrace::Product], QString());
        }
        QList<int> expectedPauses;
        if (!quiz)
            expectedPauses << pausesOf(b, 30 * delay) << 100 * delay << pausesOf(12, 6 * delay);
        QCOMPARE(platform->sleepsInMs(), expectedPauses);
    }

    void dotGridStopLeavesWhatWasShown_data()
    {
        QTest::addColumn<bool>("quiz");
        QTest::addColumn<int>("stopAtPump");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("grey");
        QTest::addColumn<int>("unitsSlept");

        QTest::newRow("stopped on the first row") << false << 1 << 1 << 255 << 30;
        QTest::newRow("stopped on the third row") << false << 3 << 3 << 255 << 90;
        QTest::newRow("stopped on the second row in quiz mode") << true << 2 << 2 << 255 << 0;
        QTest::newRow("stopped in the fourth dimming step") << false << 12 << 8 << 192 << 364;
        QTest::newRow("stopped in the last dimming step") << false << 20 << 8 << 64 << 412;
    }
    void dotGridStopLeavesWhatWasShown()
    {
        QFETCH(bool, quiz);
        QFETCH(int, stopAtPump);
        QFETCH(int, rows);
        QFETCH(int, grey);
        QFETCH(int, unitsSlept);
        const FormControls &c = form->controls();
        FormState &state = form->state();
        state.QuizMode = quiz;
        platform->atPump(stopAtPump, [&state] { state.StopRequested = true; });

        animations().DrawDotGrid(7, 8);

        QCOMPARE(c.LabelP->caption(), QStringLiteral(" O  O  O  O  O  O  O \r\n").repeated(rows));
        QCOMPARE(c.LabelP->foreColor(), ::grey(grey));
        QCOMPARE(int(platform->totalSlept().count()), unitsSlept * state.DelayFactor);
        QCOMPARE(trace->frames.size(), std::size_t(stopAtPump));
    }

private:
    Animations animations()
    {
        return Animations(FormContext { form->controls(), form->state(), *platform });
    }

    // A question as it stands when its product has faded in: the grid at its resting grey.
    void showWholeQuestion()
    {
        const FormControls &c = form->controls();
        c.Label1->setCaption(QStringLiteral("6"));
        c.LabelX->setCaption(QStringLiteral("X"));
        c.Label2->setCaption(QStringLiteral("7"));
        c.LabelP->setCaption(QStringLiteral(" O \r\n"));
        c.LabelR->setCaption(QStringLiteral("42"));
        for (Label *label : c.questionLabels())
            label->setForeColor(Colours::White);
        c.LabelP->setForeColor(grey(64));
    }
    void expectQuestionCaptions()
    {
        const FormControls &c = form->controls();
        QCOMPARE(c.Label1->caption(), QStringLiteral("6"));
        QCOMPARE(c.LabelX->caption(), QStringLiteral("X"));
        QCOMPARE(c.Label2->caption(), QStringLiteral("7"));
        QCOMPARE(c.LabelP->caption(), QStringLiteral(" O \r\n"));
        QCOMPARE(c.LabelR->caption(), QStringLiteral("42"));
    }

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
    std::unique_ptr<LabelTrace> trace;
};

QTEST_MAIN(TestAnimations)
#include "TestAnimations.moc"
