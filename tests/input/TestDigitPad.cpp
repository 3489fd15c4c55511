// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AnswerInput.h"
#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "Frame.h"
#include "Label.h"
#include "Rgb.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Counts the mouse events of each kind that reach a widget.
class MouseCounter : public QObject {
public:
    int presses = 0;
    int doubleClicks = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            ++presses;
        if (event->type() == QEvent::MouseButtonDblClick)
            ++doubleClicks;
        return false;
    }
};

}

// The numeric keypad and the on-screen digit pad of a real window, driven by Qt's key and mouse
// events: the colour of the digit's label while it is held, and the digit left in LastKey.
class TestDigitPad : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
        form->Form_Load(std::nullopt);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        // As in a lesson chosen from the menu: the menu is hidden, it would cover part of the pad.
        form->controls().FrameLevel->setVisible(false);
        form->state().LastKey = -1;
        platform->pumps = 0;
    }
    void cleanup()
    {
        form.reset();
        platform.reset();
    }

    void keypadKeyLightsAndDelivers_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("digit");

        const Qt::Key navigation[10]
            = { Qt::Key_Insert, Qt::Key_End, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left,
                  Qt::Key_Clear, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up, Qt::Key_PageUp };
        for (int digit = 0; digit <= 9; ++digit) {
            QTest::addRow("keypad %d, NumLock on", digit)
                << int(Qt::Key_0 + digit) << Qt::KeyboardModifiers(Qt::KeypadModifier) << digit;
            QTest::addRow("keypad %d, NumLock off", digit)
                << int(navigation[digit]) << Qt::KeyboardModifiers(Qt::KeypadModifier) << digit;
        }
        QTest::newRow("keypad 7 with ctrl")
            << int(Qt::Key_7) << (Qt::KeypadModifier | Qt::ControlModifier) << 7;
        QTest::newRow("keypad 2 with shift, NumLock off")
            << int(Qt::Key_Down) << (Qt::KeypadModifier | Qt::ShiftModifier) << 2;
    }

    // The digit pad is hidden here, as it is outside an answer: the keys work all the same.
    void keypadKeyLightsAndDelivers()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, digit);

        struct Seen {
            Rgb colour;
            std::int16_t lastKey;
        };
        std::vector<Seen> seen;
        platform->afterPump = [&] { seen.push_back({ label(digit)->backColor(), lastKey() }); };

        QTest::keyPress(form.get(), Qt::Key(key), modifiers);
        QCOMPARE(label(digit)->backColor(), Colours::Highlight);
        QVERIFY(othersBlack(digit));
        QCOMPARE(lastKey(), -1);
        QCOMPARE(seen.size(), 1u);
        QCOMPARE(seen[0].colour, Colours::Highlight); // the new colour is pumped to the screen

        QTest::keyRelease(form.get(), Qt::Key(key), modifiers);
        QCOMPARE(label(digit)->backColor(), Colours::Black);
        QVERIFY(othersBlack(digit));
        QCOMPARE(lastKey(), 96 + digit);
        // Black first, pumped, and only then the digit.
        QCOMPARE(seen.size(), 2u);
        QCOMPARE(seen[1].colour, Colours::Black);
        QCOMPARE(seen[1].lastKey, -1);
    }

    void otherKeysChangeNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

        QTest::newRow("main-row 7") << int(Qt::Key_7) << Qt::KeyboardModifiers();
        QTest::newRow("main-row 0") << int(Qt::Key_0) << Qt::KeyboardModifiers();
        QTest::newRow("dedicated Home") << int(Qt::Key_Home) << Qt::KeyboardModifiers();
        QTest::newRow("dedicated Left") << int(Qt::Key_Left) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("keypad plus")
            << int(Qt::Key_Plus) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("keypad Delete")
            << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("letter A") << int(Qt::Key_A) << Qt::KeyboardModifiers();
        QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
    }

    void otherKeysChangeNothing()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);

        for (const std::int16_t before : { std::int16_t(-1), std::int16_t(101) }) {
            form->state().LastKey = before;
            QTest::keyPress(form.get(), Qt::Key(key), modifiers);
            QVERIFY(othersBlack(-1));
            QTest::keyRelease(form.get(), Qt::Key(key), modifiers);
            QVERIFY(othersBlack(-1));
            QCOMPARE(lastKey(), before);
            QCOMPARE(platform->pumps, 0);
        }
    }

    void keyCodeRange_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("handled");

        QTest::newRow("95, just below keypad 0") << 95 << false;
        QTest::newRow("96, keypad 0") << 96 << true;
        QTest::newRow("100, keypad 4") << 100 << true;
        QTest::newRow("105, keypad 9") << 105 << true;
        QTest::newRow("106, just above keypad 9") << 106 << false;
        QTest::newRow("48, main-row 0") << 48 << false;
        QTest::newRow("55, main-row 7") << 55 << false;
        QTest::newRow("57, main-row 9") << 57 << false;
        QTest::newRow("-1") << -1 << false;
    }

    void keyCodeRange()
    {
        QFETCH(int, code);
        QFETCH(bool, handled);
        const auto keyCode = static_cast<std::int16_t>(code);

        form->Form_KeyDown(keyCode, 0);
        if (handled) {
            QCOMPARE(label(code - 96)->backColor(), Colours::Highlight);
            QVERIFY(othersBlack(code - 96));
        } else {
            QVERIFY(othersBlack(-1));
        }
        form->Form_KeyUp(keyCode, 0);
        QVERIFY(othersBlack(-1));
        QCOMPARE(lastKey(), handled ? code : -1);
        QCOMPARE(platform->pumps, handled ? 2 : 0);
    }

    // A held key repeats as release/press pairs: the label stays lit and the one digit comes at
    // the real release. Read by a running answer wait, a repeat taken for a digit would show as
    // an early first digit or as a second one.
    // Under X11 the repeats come from the server, under Wayland Qt makes them itself; either way
    // they are marked as repeats, and under Wayland the keypad is known by its keysym alone.
    void heldKeyDeliversOneDigitAtRelease_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<uint>("keysym");
        const auto keypad = Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("keypad 3, NumLock on") << int(Qt::Key_3) << keypad << 0u;
        QTest::newRow("keypad 3, NumLock off") << int(Qt::Key_PageDown) << keypad << 0u;
        QTest::newRow("keypad 3, NumLock on, Wayland")
            << int(Qt::Key_3) << Qt::KeyboardModifiers() << 0xffb3u; // KP_3
        QTest::newRow("keypad 3, NumLock off, Wayland")
            << int(Qt::Key_PageDown) << Qt::KeyboardModifiers() << 0xff9bu; // KP_Next
    }

    void heldKeyDeliversOneDigitAtRelease()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(uint, keysym);
        form->state().DelayFactor = 6; // ticks of 60 ms
        const int scoreBefore = form->state().Score;
        std::vector<Rgb> whileHeld;
        const auto send = [&](QEvent::Type type, bool autoRepeat) {
            QKeyEvent event(type, key, modifiers, 0, keysym, 0, QString(), autoRepeat);
            QApplication::sendEvent(form.get(), &event);
        };

        platform->at(30ms, [&] { send(QEvent::KeyPress, false); });
        for (auto when = 90ms; when < 570ms; when += 40ms) {
            platform->at(when, [&] {
                send(QEvent::KeyRelease, true);
                send(QEvent::KeyPress, true);
                whileHeld.push_back(label(3)->backColor());
            });
        }
        platform->at(570ms, [&] { send(QEvent::KeyRelease, false); });

        bool timedOut = false;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(30, timedOut, answer);

        QVERIFY(!whileHeld.empty());
        for (const Rgb colour : whileHeld)
            QCOMPARE(colour, Colours::Highlight);
        QCOMPARE(label(3)->backColor(), Colours::Black);
        QCOMPARE(answer, 30); // one digit, and no second one from the repeats
        QVERIFY(timedOut);
        QCOMPARE(form->state().Score - scoreBefore, 140); // taken in tick 10, at the release
    }

    void clickOnDigit_data()
    {
        QTest::addColumn<int>("digit");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("delivers");

        for (int digit = 0; digit <= 9; ++digit)
            QTest::addRow("left button on %d", digit) << digit << Qt::LeftButton << true;
        QTest::newRow("right button on 4") << 4 << Qt::RightButton << false;
        QTest::newRow("middle button on 8") << 8 << Qt::MiddleButton << false;
    }

    void clickOnDigit()
    {
        QFETCH(int, digit);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, delivers);
        showPad();

        QTest::mousePress(label(digit), button);
        QCOMPARE(label(digit)->backColor(), Colours::Highlight);
        QVERIFY(othersBlack(digit));
        QCOMPARE(lastKey(), -1);
        QCOMPARE(platform->pumps, 1);

        QTest::mouseRelease(label(digit), button);
        QCOMPARE(label(digit)->backColor(), Colours::Black);
        QCOMPARE(lastKey(), delivers ? 96 + digit : -1);
        QCOMPARE(platform->pumps, 2);
    }

    void releaseAwayFromTheLabelDeliversNothing()
    {
        showPad();
        const QPoint overFive = label(4)->mapFrom(form.get(), centreOf(label(5)));
        QVERIFY(!label(4)->rect().contains(overFive));

        QTest::mousePress(label(4), Qt::LeftButton);
        QCOMPARE(label(4)->backColor(), Colours::Highlight);
        QTest::mouseRelease(label(4), Qt::LeftButton, {}, overFive);
        QVERIFY(othersBlack(-1));
        QCOMPARE(lastKey(), -1);
    }

    // Qt reports a quick second click as a double click with no press before it; it is a click
    // all the same, or a child answering 44 by clicking twice would lose the second 4.
    void doubleClickDeliversBothClicks()
    {
        showPad();
        MouseCounter counter;
        label(6)->installEventFilter(&counter);
        std::vector<Rgb> pumped;
        platform->afterPump = [&] { pumped.push_back(label(6)->backColor()); };
        std::int16_t afterFirstClick = 0;
        // The third pump comes from the second press: take the first digit away there.
        platform->atPump(3, [&] {
            afterFirstClick = lastKey();
            form->state().LastKey = -1;
        });

        QTest::mouseDClick(label(6), Qt::LeftButton);

        QCOMPARE(counter.doubleClicks, 1);
        QCOMPARE(afterFirstClick, 102);
        QCOMPARE(lastKey(), 102);
        QCOMPARE(pumped,
            (std::vector<Rgb> {
                Colours::Highlight, Colours::Black, Colours::Highlight, Colours::Black }));
        QCOMPARE(label(6)->backColor(), Colours::Black);
    }

    // The same two quick clicks while an answer is read, one in each of two ticks: both digits.
    void twoQuickClicksAnswerTwoDigits()
    {
        form->state().DelayFactor = 6;
        MouseCounter counter;
        label(4)->installEventFilter(&counter);
        const int start = QTest::lastMouseTimestamp + 10000;
        const auto clickAt = [&](int timestamp) {
            QWindow *window = form->windowHandle();
            const QPointF local = centreOf(label(4));
            const QPointF global = window->mapToGlobal(local);
            qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton,
                QEvent::MouseButtonPress, {}, timestamp);
            qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton,
                QEvent::MouseButtonRelease, {}, timestamp + 20);
        };
        platform->at(30ms, [&] { clickAt(start); });
        platform->at(150ms, [&] { clickAt(start + 150); });
        const int scoreBefore = form->state().Score;

        bool timedOut = true;
        std::int32_t answer = -1;
        AnswerInput(context()).ReadAnswer(44, timedOut, answer);
        QTest::lastMouseTimestamp = start + 10000;

        QCOMPARE(counter.doubleClicks, 1);
        QCOMPARE(answer, 44);
        QVERIFY(!timedOut);
        QCOMPARE(form->state().Score - scoreBefore, 149);
    }

private:
    Label *label(int digit) const { return form->controls().LabelDigit.at(digit); }
    std::int16_t lastKey() const { return form->state().LastKey; }
    FormContext context() { return { form->controls(), form->state(), *platform }; }

    bool othersBlack(int except) const
    {
        for (int digit = 0; digit <= 9; ++digit) {
            if (digit != except && label(digit)->backColor() != Colours::Black)
                return false;
        }
        return true;
    }

    QPoint centreOf(Label *digitLabel) const
    {
        return digitLabel->mapTo(form.get(), digitLabel->rect().center());
    }

    void showPad()
    {
        form->controls().FrameNum->setVisible(true);
        QCoreApplication::processEvents();
        QVERIFY(label(0)->isVisible());
    }

    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
};

QTEST_MAIN(TestDigitPad)
#include "TestDigitPad.moc"
