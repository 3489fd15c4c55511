// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakePlatform.h"
#include "FormMain.h"
#include "LabelTrace.h"
#include "QuestionSequence.h"

#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

using Ms = FakePlatform::Ms;

Q_DECLARE_METATYPE(QList<int>)

namespace {

constexpr int KeypadZero = 96;
const QString EarlierGrid = QStringLiteral(" O \r\n");
const QString EarlierProduct = QStringLiteral("35"); // no question below has this product

QString grid(int a, int rows)
{
    return QStringLiteral(" O ").repeated(a).append(QStringLiteral("\r\n")).repeated(rows);
}

}

// One question from the first factor to the closing pause, on the virtual clock: what is shown
// at each pump, the answer judged and counted, the pauses, and where a stop request ends it.
class TestQuestionSequence : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
        form->Form_Load(std::nullopt);
        // What the previous question left: its grid and product, drawn in black.
        form->controls().LabelP->setCaption(EarlierGrid);
        form->controls().LabelR->setCaption(EarlierProduct);
        trace = std::make_unique<LabelTrace>(*platform, form->controls());
        padShownForEveryKey = true;
    }
    void cleanup()
    {
        trace.reset();
        form.reset();
        platform.reset();
    }

    void wholeQuestionOutsideQuizMode_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("delay");

        QTest::newRow("7x2 at pace 10") << 7 << 2 << 10;
        QTest::newRow("7x9 at pace 10") << 7 << 9 << 10;
        QTest::newRow("3x2 at pace 3") << 3 << 2 << 3;
        QTest::newRow("3x9 at pace 3") << 3 << 9 << 3;
    }
    void wholeQuestionOutsideQuizMode()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, delay);
        FormState &state = form->state();
        state.DelayFactor = delay;
        state.RightCount = 5;
        state.WrongCount = 2;
        state.Score = 300;

        bool correct = false;
        sequence().PresentQuestion(a, b, correct);

        QVERIFY(correct);
        QCOMPARE(state.RightCount, 5);
        QCOMPARE(state.WrongCount, 2);
        QCOMPARE(state.Score, 300);
        QCOMPARE(int(platform->totalSlept().count()), delay * (1216 + 30 * b) + 900);

        // Factors, sign, rows, dimming, product, pause, fade-out, pause, blink, closing pause.
        const int d = delay;
        QList<int> pauses = QList<int>(16, 6 * d) + QList<int>(8, 6 * d) + QList<int>(16, 6 * d)
            + QList<int>(b, 30 * d) + QList<int> { 100 * d } + QList<int>(12, 6 * d)
            + QList<int> { 50 * d } + QList<int>(4, 6 * d) + QList<int> { 300 * d }
            + QList<int>(8, 10 * d) + QList<int> { 50 * d, 150, 300, 150, 300, 300 * d };
        QCOMPARE(platform->sleepsInMs(), pauses);

        QVERIFY(trace->litAgainAfterDark(LabelTrace::First));
        for (const Shown &shown : trace->frames) {
            QVERIFY(!shown.padVisible);
            QVERIFY(!shown.messageVisible);
        }
        expectProductFadesInFrom63(a * b);
        expectQuestionLeftBlack(a, b);
    }

    void quizAnswer_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("delay");
        // Pairs of (tick of the answer wait, counted from the pad's appearance; digit).
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("ticksWaited");

        const QString none;
        const QString no = QStringLiteral("NO!");
        const QString late = QStringLiteral("Tempo!");
        QTest::newRow("2x3 answered 6 in the 10th tick at pace 6")
            << 2 << 3 << 6 << QList<int> { 10, 6 } << true << none << 140 << 10;
        QTest::newRow("2x3 answered 6 in the 10th tick at pace 3")
            << 2 << 3 << 3 << QList<int> { 10, 6 } << true << none << 140 << 10;
        QTest::newRow("6x7 answered 4 then 2")
            << 6 << 7 << 6 << QList<int> { 5, 4, 25, 2 } << true << none << 145 << 25;
        QTest::newRow("6x7 answered 2 then 4 at pace 6")
            << 6 << 7 << 6 << QList<int> { 3, 2, 6, 4 } << false << no << 0 << 6;
        QTest::newRow("6x7 answered 2 then 4 at pace 3")
            << 6 << 7 << 3 << QList<int> { 3, 2, 6, 4 } << false << no << 0 << 6;
        QTest::newRow("3x3 answered 8")
            << 3 << 3 << 3 << QList<int> { 7, 8 } << false << no << 0 << 7;
        QTest::newRow("6x7 no digit at all")
            << 6 << 7 << 6 << QList<int> {} << false << late << 0 << 150;
        QTest::newRow("6x7 answered 4, second digit late")
            << 6 << 7 << 3 << QList<int> { 4, 4 } << false << late << 0 << 154;
        QTest::newRow("2x5 answered 1, second digit late")
            << 2 << 5 << 6 << QList<int> { 2, 1 } << true << none << 148 << 152;
        QTest::newRow("4x5 answered 2, second digit late")
            << 4 << 5 << 3 << QList<int> { 9, 2 } << true << none << 141 << 159;
        QTest::newRow("5x6 answered 3, second digit late")
            << 5 << 6 << 6 << QList<int> { 30, 3 } << true << none << 120 << 180;
        QTest::newRow("5x8 answered 4 in the last tick, second digit late")
            << 5 << 8 << 3 << QList<int> { 149, 4 } << true << none << 1 << 299;
    }
    void quizAnswer()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, delay);
        QFETCH(QList<int>, keys);
        QFETCH(bool, right);
        QFETCH(QString, message);
        QFETCH(int, points);
        QFETCH(int, ticksWaited);
        FormState &state = form->state();
        state.QuizMode = true;
        state.DelayFactor = delay;
        state.RightCount = 3;
        state.WrongCount = 4;
        state.Score = 50;
        for (int i = 0; i + 1 < keys.size(); i += 2)
            keyUpInTick(keys[i], keys[i + 1]);

        bool correct = !right;
        sequence().PresentQuestion(a, b, correct);

        QCOMPARE(correct, right);
        QCOMPARE(state.RightCount, right ? 4 : 3);
        QCOMPARE(state.WrongCount, right ? 4 : 5);
        QCOMPARE(state.Score, 50 + points);
        QVERIFY(padShownForEveryKey);
        QCOMPARE(int(platform->totalSlept().count()),
            delay * 756 + ticksWaited * 10 * delay + (right ? 0 : 1900));

        // "?" stands for the product while the pad is up.
        const auto asking = std::find_if(trace->frames.begin(), trace->frames.end(),
            [](const Shown &shown) { return shown.padVisible; });
        QVERIFY(asking != trace->frames.end());
        QCOMPARE(asking->captions[LabelTrace::Product], QStringLiteral("?"));
        QCOMPARE(asking->colours[LabelTrace::Product], Colours::White);
        QCOMPARE(asking->colours[LabelTrace::Grid], grey(64));

        expectMessage(message);
        QCOMPARE(trace->litAgainAfterDark(LabelTrace::First), !right);
        expectProductFadesInFrom63(a * b);
        expectQuestionLeftBlack(a, b);
    }

    void stopRequest_data()
    {
        QTest::addColumn<bool>("quiz");
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("greys");
        QTest::addColumn<int>("slept");
        QTest::addColumn<bool>("correct");
        QTest::addColumn<QString>("message");

        // Question 3 x 2. At pace 10 outside quiz mode the first factor's steps show at 0, 60, ..
        // 900 ms, the sign's from 960, the second factor's from 1440, the rows at 2400 and 2700,
        // the dimming from 4000, the product from 5220, the fade-out from 8460, the blink at 9760.
        const QString earlier = EarlierGrid;
        const QStringList before { "3", "X", "2", earlier, EarlierProduct };
        const QStringList oneRow { "3", "X", "2", grid(3, 1), "" };
        const QStringList gridOnly { "3", "X", "2", grid(3, 2), "" };
        const QStringList whole { "3", "X", "2", grid(3, 2), "6" };
        const QString none;
        QTest::newRow("stop in the first factor's fade")
            << false << 10 << 60 << before << QList<int> { 31, 31, 15, 0, 0 } << 240 << true
            << none;
        QTest::newRow("stop in the sign's fade")
            << false << 10 << 1020 << before << QList<int> { 255, 63, 15, 0, 0 } << 1140 << true
            << none;
        QTest::newRow("stop in the second factor's fade")
            << false << 10 << 1440 << before << QList<int> { 255, 255, 15, 0, 0 } << 1500 << true
            << none;
        QTest::newRow("stop while the rows are drawn")
            << false << 10 << 2400 << oneRow << QList<int> { 255, 255, 255, 255, 0 } << 2700 << true
            << none;
        QTest::newRow("stop while the grid dims")
            << false << 10 << 4000 << gridOnly << QList<int> { 255, 255, 255, 240, 0 } << 4060
            << true << none;
        QTest::newRow("stop while the product fades in")
            << false << 10 << 5220 << whole << QList<int> { 255, 255, 255, 64, 63 } << 5280 << true
            << none;
        QTest::newRow("stop while the question fades out")
            << false << 10 << 8460 << whole << QList<int> { 224, 224, 224, 64, 224 } << 8560 << true
            << none;
        QTest::newRow("stop while the question blinks")
            << false << 10 << 9760 << whole << QList<int> { 0, 0, 0, 0, 0 } << 10210 << true
            << none;
        // At pace 6 in quiz mode the grid takes no time and "?" shows at 290 units, 1740 ms.
        QTest::newRow("stop in the first factor's fade in quiz mode")
            << true << 6 << 36 << before << QList<int> { 31, 31, 15, 0, 0 } << 144 << true << none;
        QTest::newRow("stop while the question mark fades in")
            << true << 6 << 1740 << whole << QList<int> { 255, 255, 255, 64, 63 }
            << 6 * (240 + 50 + 6 + 10 + 6) + 1000 << false << QStringLiteral("Tempo!");
    }
    void stopRequest()
    {
        QFETCH(bool, quiz);
        QFETCH(int, delay);
        QFETCH(int, stopAt);
        QFETCH(QStringList, captions);
        QFETCH(QList<int>, greys);
        QFETCH(int, slept);
        QFETCH(bool, correct);
        QFETCH(QString, message);
        FormState &state = form->state();
        state.QuizMode = quiz;
        state.DelayFactor = delay;
        platform->at(Ms(stopAt), [&state] { state.StopRequested = true; });

        bool result = !correct;
        sequence().PresentQuestion(3, 2, result);

        QCOMPARE(result, correct);
        QCOMPARE(state.RightCount, 0);
        QCOMPARE(state.WrongCount, correct ? 0 : 1);
        QCOMPARE(int(platform->totalSlept().count()), slept);
        const auto labels = form->controls().questionLabels();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            QCOMPARE(labels[i]->caption(), captions[int(i)]);
            QCOMPARE(greyLevel(labels[i]->foreColor()), greys[int(i)]);
        }
        expectMessage(message);
        QVERIFY(!form->controls().FrameNum->isVisibleTo(form.get()));
    }

    void fontSizesFollowTheFontUnit_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<bool>("quiz");
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("second");
        QTest::addColumn<double>("product");

        QTest::newRow("9x9 in quiz mode") << 9 << 9 << true << 144.67 << 144.67 << 244.5;
        QTest::newRow("2x3 outside quiz mode") << 2 << 3 << false << 88.67 << 96.67 << 169.5;
    }
    void fontSizesFollowTheFontUnit()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(bool, quiz);
        QFETCH(double, first);
        QFETCH(double, second);
        QFETCH(double, product);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(form->state().FontUnit, 109);
        const double layoutProduct = form->controls().LabelR->fontSize();
        form->state().QuizMode = quiz;

        bool correct = false;
        sequence().PresentQuestion(a, b, correct);

        const auto near
            = [](double actual, double expected) { return std::abs(actual - expected) < 0.005; };
        // Both factors are sized before anything shows, while the second is still black.
        const Shown &start = trace->frames.front();
        QVERIFY(near(start.points[LabelTrace::First], first));
        QVERIFY(near(start.points[LabelTrace::Second], second));
        QCOMPARE(start.colours[LabelTrace::Second], Colours::Black);
        // The product label keeps the layout's size while the grid is drawn.
        for (const Shown &shown : trace->frames) {
            if (shown.captions[LabelTrace::Grid] == grid(a, 1)) {
                QCOMPARE(shown.points[LabelTrace::Product], layoutProduct);
            }
            const QString shownProduct = shown.captions[LabelTrace::Product];
            if (shownProduct == QStringLiteral("?") || shownProduct == QString::number(a * b)) {
                QVERIFY(near(shown.points[LabelTrace::Product], product));
            }
        }
        QVERIFY(near(form->controls().Label1->fontSize(), first));
        QVERIFY(near(form->controls().Label2->fontSize(), second));
        QVERIFY(near(form->controls().LabelR->fontSize(), product));
        QVERIFY(!near(form->controls().LabelR->fontSize(), layoutProduct));
    }

private:
    QuestionSequence sequence()
    {
        return QuestionSequence(FormContext { form->controls(), form->state(), *platform });
    }

    // Releases keypad digit at the given tick of the answer wait (counted across both waits).
    // In quiz mode the wait begins after the fades of the factors, sign and "?" and one pause,
    // 302 units in all.
    void keyUpInTick(int tick, int digit)
    {
        const int delay = form->state().DelayFactor;
        platform->at(Ms((302 + 10 * tick) * delay), [this, digit] {
            padShownForEveryKey
                = padShownForEveryKey && form->controls().FrameNum->isVisibleTo(form.get());
            form->Form_KeyUp(static_cast<std::int16_t>(KeypadZero + digit), 0);
        });
    }

    // The message shows once, over the hidden product label, for a second; then "?" returns as
    // it was.
    void expectMessage(const QString &message)
    {
        const auto &frames = trace->frames;
        const auto shown = std::find_if(
            frames.begin(), frames.end(), [](const Shown &frame) { return frame.messageVisible; });
        if (message.isEmpty()) {
            QVERIFY(shown == frames.end());
            return;
        }
        QVERIFY(shown != frames.end());
        QCOMPARE(shown->message, message);
        QVERIFY(!shown->productVisible);
        QVERIFY(!shown->padVisible);
        const auto after = std::next(shown);
        QVERIFY(after != frames.end());
        QVERIFY(!after->messageVisible);
        QVERIFY(after->productVisible);
        QCOMPARE(after->captions[LabelTrace::Product], QStringLiteral("?"));
        QCOMPARE(after->colours[LabelTrace::Product], shown->colours[LabelTrace::Product]);
        QCOMPARE(int((after->at - shown->at).count()), 1000);
        QVERIFY(std::none_of(after, frames.end(), [](const Shown &f) { return f.messageVisible; }));
    }

    void expectProductFadesInFrom63(int product)
    {
        const QString text = QString::number(product);
        const auto first = std::find_if(trace->frames.begin(), trace->frames.end(),
            [&text](const Shown &shown) { return shown.captions[LabelTrace::Product] == text; });
        QVERIFY(first != trace->frames.end());
        QCOMPARE(first->colours[LabelTrace::Product], grey(63));
    }

    void expectQuestionLeftBlack(int a, int b)
    {
        const FormControls &c = form->controls();
        const QStringList captions { QString::number(a), QStringLiteral("X"), QString::number(b),
            grid(a, b), QString::number(a * b) };
        const auto labels = c.questionLabels();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            QCOMPARE(labels[i]->caption(), captions[int(i)]);
            QCOMPARE(labels[i]->foreColor(), Colours::Black);
        }
        QVERIFY(c.LabelR->isVisibleTo(form.get()));
        QVERIFY(!c.LabelM->isVisibleTo(form.get()));
        QVERIFY(!c.FrameNum->isVisibleTo(form.get()));
    }

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
    std::unique_ptr<LabelTrace> trace;
    bool padShownForEveryKey = true;
};

QTEST_MAIN(TestQuestionSequence)
#include "TestQuestionSequence.moc"
