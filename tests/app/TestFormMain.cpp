// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "Frame.h"
#include "Label.h"
#include "Rgb.h"
#include "FormState.h"
#include "LabelAccessible.h"
#include "PageWindow.h"
#include "QtPlatform.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <memory>

using namespace std::chrono_literals;

// Start-up, the level menu, "Stop" and closing, on the virtual clock.
class TestFormMain : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        LabelAccessible::installFactory();
    }

    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
    }
    void cleanup()
    {
        form.reset();
        platform.reset();
    }

    void loadWithoutLevelWaitsInTheMenu()
    {
        form->Form_Load(std::nullopt);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const FormControls &c = form->controls();
        QVERIFY(c.FrameLevel->isVisible());
        QVERIFY(!c.LabelStop->isVisible());
        QVERIFY(!c.LabelG->isVisible());
        QVERIFY(!platform->isTimerEnabled());
        QCOMPARE(form->state().DelayFactor, 10);
        for (Label *label : c.questionLabels()) {
            QCOMPARE(label->caption(), QString());
            QCOMPARE(label->foreColor(), Colours::Black);
        }
        QCOMPARE(form->pool().count(), 0);
        QVERIFY(!form->isUnloaded());
    }

    void levelChoiceArmsTheStartTimer_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("quiz");
        QTest::newRow("Livello 1") << 1 << false;
        QTest::newRow("Livello 3") << 3 << false;
        QTest::newRow("Livello 4") << 4 << true;
        QTest::newRow("Livello 5") << 5 << true;
        QTest::newRow("7 from the command line") << 7 << true;
        QTest::newRow("-1 from the command line") << -1 << false;
    }

    void levelChoiceArmsTheStartTimer()
    {
        QFETCH(int, index);
        QFETCH(bool, quiz);
        form->Form_Load(std::nullopt);
        form->show();
        const FormControls &c = form->controls();
        FormState &s = form->state();
        s.RightCount = 5;
        s.WrongCount = 6;
        s.Score = 700;
        s.StopRequested = true;
        c.LabelStop->setVisible(true);
        c.LabelG->setVisible(true);

        form->LabelLevel_Click(static_cast<std::int16_t>(index));
        QCOMPARE(int(s.Level), index);
        QCOMPARE(s.QuizMode, quiz);
        QVERIFY(c.FrameLevel->isHidden());
        QVERIFY(c.LabelStop->isHidden());
        QVERIFY(c.LabelG->isHidden());
        QCOMPARE(s.RightCount, 0);
        QCOMPARE(s.WrongCount, 0);
        QCOMPARE(s.Score, 0);
        QVERIFY(!s.StopRequested);
        QVERIFY(!s.Running);
        QVERIFY(platform->isTimerEnabled());
        QCOMPARE(platform->timerInterval, 1000ms);
        QCOMPARE(c.LabelG->caption(), QStringLiteral("Rimanenti: 0         Giusti: 0         Sbagliati: 0         Punteggio: 0"));
        QVERIFY(!form->isUnloaded());
        QVERIFY(platform->sleeps.empty());
    }

    void theStatusLineShowsLeftoversUntilTheLessonStarts()
    {
        form->Form_Load(std::nullopt);
        form->pool().add(37, QStringLiteral("K37"));
        form->pool().add(42, QStringLiteral("K42"));
        form->LabelLevel_Click(4);
        QCOMPARE(form->controls().LabelG->caption(),
            QStringLiteral("Rimanenti: 2         Giusti: 0         Sbagliati: 0         Punteggio: 0"));
    }

    void aLevelOnTheCommandLineStartsAtOnce()
    {
        form->Form_Load(3);
        QCOMPARE(int(form->state().Level), 3);
        QVERIFY(platform->isTimerEnabled());
        QVERIFY(form->controls().FrameLevel->isHidden());
        QCOMPARE(form->state().DelayFactor, 10);
        QVERIFY(!form->isUnloaded());
    }

    void quitting_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Basta!") << "basta";
        QTest::newRow("Stop in the menu") << "stop";
        QTest::newRow("the window's close control") << "close";
        QTest::newRow("0 on the command line") << "zero";
    }

    void quitting()
    {
        QFETCH(QString, how);
        if (how == "zero") {
            form->Form_Load(0);
        } else {
            form->Form_Load(std::nullopt);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            if (how == "basta")
                QTest::mouseClick(form->controls().LabelLevel[0], Qt::LeftButton);
            else if (how == "stop") {
                form->controls().LabelStop->setVisible(true);
                QTest::mouseClick(form->controls().LabelStop, Qt::LeftButton);
            } else
                form->close();
        }
        QVERIFY(form->isUnloaded());
        QVERIFY(!form->isVisible());
        QVERIFY(!platform->isTimerEnabled());
    }

    void stopDuringALessonOnlyAsksItToStop()
    {
        form->Form_Load(std::nullopt);
        form->state().Running = true;
        form->LabelStop_Click();
        QVERIFY(form->state().StopRequested);
        QVERIFY(!form->isUnloaded());
    }

    // Press and release stop the lesson, which ends before the second half of the double click,
    // a DblClick and a release, arrives: that half must not quit the program.
    void doubleClickOnStopOnlyStopsTheLesson()
    {
        form->Form_Load(std::nullopt);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        Label *stop = form->controls().LabelStop;
        stop->setVisible(true);
        form->state().Running = true;
        QTest::mouseClick(stop, Qt::LeftButton);
        QVERIFY(form->state().StopRequested);
        form->state().Running = false;
        QTest::mouseDClick(stop, Qt::LeftButton);
        QTest::mouseRelease(stop, Qt::LeftButton);
        QVERIFY(!form->isUnloaded());
    }

    void closingWhileArmedStartsNoLesson()
    {
        form->Form_Load(std::nullopt);
        form->show();
        form->LabelLevel_Click(1);
        form->close();
        QVERIFY(!platform->fireTimer());
        QVERIFY(!form->state().Running);
    }

    // In a page, as in a browser, the form is no window of its own: "Basta!" closes the page, and
    // the page closing closes the form, which stops a lesson.
    void quittingInAPage_data()
    {
        QTest::addColumn<bool>("basta");
        QTest::newRow("Basta!") << true;
        QTest::newRow("the page closed") << false;
    }

    void quittingInAPage()
    {
        QFETCH(bool, basta);
        PageWindow page;
        FormMain inPage(*platform, &page);
        page.hold(inPage);
        inPage.Form_Load(std::nullopt);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        if (basta)
            inPage.LabelLevel_Click(0);
        else
            page.close();
        QVERIFY(inPage.isUnloaded());
        QVERIFY(inPage.state().StopRequested);
        QVERIFY(page.isHidden());
        const QWindowList windows = QGuiApplication::topLevelWindows();
        QVERIFY(std::none_of(windows.cbegin(), windows.cend(), [](QWindow *w) { return w->isVisible(); }));
    }

    void clicksOnTheBackgroundDoNothing()
    {
        form->Form_Load(std::nullopt);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(5, 300));
        QTest::mouseDClick(form.get(), Qt::LeftButton, {}, QPoint(5, 300));
        QVERIFY(!platform->isTimerEnabled());
        QVERIFY(!form->isUnloaded());
        QVERIFY(form->controls().FrameLevel->isVisible());
    }

    // Input that comes while a pause waits, as a browser delivers it from its own callbacks, is
    // held until the next pump and then handled in the order it came: a click, a touch, keypad
    // keys and a screen reader's press alike.
    void inputWaitsForTheEndOfAPause_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<int>("lastKey");
        // A touch before the click: Qt takes a touch where a click has just been (in the test's
        // own time) for the second click of a double click, which "Stop" does not take as a
        // click. Each row alone passes in any order.
        QTest::newRow("a touch on Stop") << QStringList { "touch LabelStop" } << true << -1;
        QTest::newRow("a click on Stop") << QStringList { "click LabelStop" } << true << -1;
        QTest::newRow("a screen reader's press on Stop") << QStringList { "press LabelStop" } << true << -1;
        QTest::newRow("a keypad digit") << QStringList { "key 7" } << false << 96 + 7;
        QTest::newRow("a click on the pad's 4") << QStringList { "click LabelDigit(4)" } << false << 96 + 4;
        QTest::newRow("a touch on the pad's 0") << QStringList { "touch LabelDigit(0)" } << false << 96;
        // The first is handled first, and its handler pumps: the second is handled within it,
        // before the first writes its digit, as when both come together on a desktop.
        QTest::newRow("two digits together") << QStringList { "key 4", "click LabelDigit(2)" } << false
                                             << 96 + 4;
    }

    void inputWaitsForTheEndOfAPause()
    {
        QFETCH(QStringList, inputs);
        QFETCH(bool, stopped);
        QFETCH(int, lastKey);
        static QPointingDevice *const touchScreen = QTest::createTouchDevice();
        FormMain *shown = nullptr;
        bool handledInThePause = false;
        // The first wait of the pause brings the input; every wait looks whether any was handled.
        QtPlatform qt([&](std::chrono::steady_clock::duration) {
            if (!inputs.isEmpty() && shown) {
                for (const QString &input : std::exchange(inputs, {}))
                    give(*shown, input, *touchScreen);
            }
            if (shown)
                handledInThePause |= shown->state().StopRequested || shown->state().LastKey != -1;
        });
        FormMain paused(qt);
        paused.Form_Load(std::nullopt);
        paused.show();
        QVERIFY(QTest::qWaitForWindowExposed(&paused));
        const FormControls &c = paused.controls();
        c.FrameLevel->setVisible(false);
        c.LabelStop->setVisible(true);
        c.FrameNum->setVisible(!stopped);
        paused.state().Running = true;
        paused.state().LastKey = -1;
        shown = &paused;

        qt.sleep(60ms);
        QVERIFY2(!handledInThePause, "input was handled during the pause");
        QVERIFY(!paused.state().StopRequested);
        QCOMPARE(paused.state().LastKey, std::int16_t(-1));
        qt.doEvents();
        QCOMPARE(paused.state().StopRequested, stopped);
        QCOMPARE(paused.state().LastKey, std::int16_t(lastKey));
        paused.state().Running = false;
    }

private:
    // One input as the window system delivers it, at once: "click NAME", "touch NAME",
    // "press NAME" (a screen reader's) or "key DIGIT" (the keypad's).
    static void give(FormMain &form, const QString &input, QPointingDevice &touchScreen)
    {
        const QString what = input.section(' ', 0, 0);
        const QString name = input.section(' ', 1);
        QWindow *window = form.windowHandle();
        if (what == "key") {
            const auto key = Qt::Key(Qt::Key_0 + name.toInt());
            QTest::keyPress(window, key, Qt::KeypadModifier);
            QTest::keyRelease(window, key, Qt::KeypadModifier);
            return;
        }
        Label *label = form.findChild<Label *>(name);
        QVERIFY2(label, qPrintable(name));
        const QPoint middle = label->mapTo(&form, label->rect().center());
        if (what == "click") {
            QTest::mouseClick(window, Qt::LeftButton, {}, middle);
        } else if (what == "touch") {
            QTest::touchEvent(window, &touchScreen).press(0, middle, window);
            QTest::touchEvent(window, &touchScreen).release(0, middle, window);
        } else {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label);
            QVERIFY(iface && iface->actionInterface());
            iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
    }

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
};

QTEST_MAIN(TestFormMain)
#include "TestFormMain.moc"
