// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include <QKeyEvent>
#include <QTest>
#include <array>
#include <tuple>
#include <utility>

// Which key events count as keypad digits, whatever the state of NumLock: as Qt Test builds them
// (no native key), and as X11 and Wayland deliver them, with the X keysym as the native key.
// Under X11 Qt marks the keypad's keys with KeypadModifier; under Wayland it marks none, and
// keypad 2 arrives as Qt::Key_2 exactly like the main row's 2.
class TestKeypadKeys : public QObject {
    Q_OBJECT

private slots:
    void keypadDigits_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<uint>("keysym");
        QTest::addColumn<int>("digit");

        // What Qt reports for keypad 0..9 with NumLock off, and the keysyms behind it: KP_Insert,
        // KP_End, KP_Down, KP_Next, KP_Left, KP_Begin, KP_Right, KP_Home, KP_Up, KP_Prior.
        const std::array<Qt::Key, 10> navigation { Qt::Key_Insert, Qt::Key_End, Qt::Key_Down,
            Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Clear, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up,
            Qt::Key_PageUp };
        const std::array<uint, 10> navigationKeysyms { 0xff9e, 0xff9c, 0xff99, 0xff9b, 0xff96,
            0xff9d, 0xff98, 0xff95, 0xff97, 0xff9a };
        const uint keysymKeypad0 = 0xffb0; // KP_0; KP_9 is 0xffb9
        const std::array<std::pair<const char *, Qt::KeyboardModifiers>, 5> extras { {
            { "", {} },
            { " with shift", Qt::ShiftModifier },
            { " with ctrl", Qt::ControlModifier },
            { " with alt", Qt::AltModifier },
            { " with shift ctrl alt", Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier },
        } };
        for (int digit = 0; digit <= 9; ++digit) {
            const int numLockOn = Qt::Key_0 + digit;
            const int numLockOff = navigation[digit];
            const uint numLockOnKeysym = keysymKeypad0 + digit;
            const uint numLockOffKeysym = navigationKeysyms[digit];
            for (const auto &[suffix, extra] : extras) {
                const auto keypad = Qt::KeypadModifier | extra;
                QTest::addRow("keypad %d, NumLock on%s", digit, suffix)
                    << numLockOn << keypad << 0u << digit;
                QTest::addRow("keypad %d, NumLock off%s", digit, suffix)
                    << numLockOff << keypad << 0u << digit;
                QTest::addRow("keypad %d, NumLock on, X11%s", digit, suffix)
                    << numLockOn << keypad << numLockOnKeysym << digit;
                QTest::addRow("keypad %d, NumLock off, X11%s", digit, suffix)
                    << numLockOff << keypad << numLockOffKeysym << digit;
                QTest::addRow("keypad %d, NumLock on, Wayland%s", digit, suffix)
                    << numLockOn << extra << numLockOnKeysym << digit;
                QTest::addRow("keypad %d, NumLock off, Wayland%s", digit, suffix)
                    << numLockOff << extra << numLockOffKeysym << digit;
            }
        }
    }

    void keypadDigits()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(uint, keysym);
        QFETCH(int, digit);

        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
            const QKeyEvent event(type, key, modifiers, 0, keysym, 0);
            const auto code = keypadKeyCode(event);
            QVERIFY(code.has_value());
            QCOMPARE(int(*code), 96 + digit);
        }
    }

    void otherKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<uint>("keysym");

        // The main row's digits are alike under X11 and Wayland: keysyms 0x30..0x39, no modifier.
        for (int digit = 0; digit <= 9; ++digit) {
            const int key = Qt::Key_0 + digit;
            QTest::addRow("main-row %d", digit) << key << Qt::KeyboardModifiers() << 0u;
            QTest::addRow("main-row %d with shift", digit)
                << key << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0u;
            QTest::addRow("main-row %d, X11 and Wayland", digit)
                << key << Qt::KeyboardModifiers() << uint(0x30 + digit);
        }
        const std::array<std::tuple<const char *, Qt::Key, uint>, 10> dedicated { {
            { "Insert", Qt::Key_Insert, 0xff63 },
            { "End", Qt::Key_End, 0xff57 },
            { "Down", Qt::Key_Down, 0xff54 },
            { "PageDown", Qt::Key_PageDown, 0xff56 },
            { "Left", Qt::Key_Left, 0xff51 },
            { "Clear", Qt::Key_Clear, 0xff0b },
            { "Right", Qt::Key_Right, 0xff53 },
            { "Home", Qt::Key_Home, 0xff50 },
            { "Up", Qt::Key_Up, 0xff52 },
            { "PageUp", Qt::Key_PageUp, 0xff55 },
        } };
        for (const auto &[name, key, keysym] : dedicated) {
            QTest::addRow("dedicated %s", name) << int(key) << Qt::KeyboardModifiers() << 0u;
            QTest::addRow("dedicated %s, X11 and Wayland", name)
                << int(key) << Qt::KeyboardModifiers() << keysym;
        }

        const std::array<std::tuple<const char *, Qt::Key, uint>, 9> keypadOthers { {
            { "Enter", Qt::Key_Enter, 0xff8d },
            { "plus", Qt::Key_Plus, 0xffab },
            { "minus", Qt::Key_Minus, 0xffad },
            { "asterisk", Qt::Key_Asterisk, 0xffaa },
            { "slash", Qt::Key_Slash, 0xffaf }, // KP_Divide, just below KP_0
            { "decimal point", Qt::Key_Period, 0xffae },
            { "Delete (decimal point, NumLock off)", Qt::Key_Delete, 0xff9f }, // above KP_Insert
            { "NumLock", Qt::Key_NumLock, 0xff7f },
            { "comma", Qt::Key_Comma, 0xffac },
        } };
        for (const auto &[name, key, keysym] : keypadOthers) {
            const auto keypad = Qt::KeyboardModifiers(Qt::KeypadModifier);
            QTest::addRow("keypad %s", name) << int(key) << keypad << 0u;
            QTest::addRow("keypad %s, X11", name) << int(key) << keypad << keysym;
            QTest::addRow("keypad %s, Wayland", name)
                << int(key) << Qt::KeyboardModifiers() << keysym;
        }
        // Next to the keypad's keysyms: KP_F4 just below KP_Home, and just above KP_9.
        QTest::newRow("keysym KP_F4") << int(Qt::Key_F4) << Qt::KeyboardModifiers() << 0xff94u;
        QTest::newRow("keysym just above KP_9")
            << int(Qt::Key_unknown) << Qt::KeyboardModifiers() << 0xffbau;

        QTest::newRow("letter A") << int(Qt::Key_A) << Qt::KeyboardModifiers() << 0u;
        QTest::newRow("letter A with keypad modifier")
            << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 0u;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers() << 0u;
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers() << 0u;
        QTest::newRow("space") << int(Qt::Key_Space) << Qt::KeyboardModifiers() << 0u;
        QTest::newRow("F7") << int(Qt::Key_F7) << Qt::KeyboardModifiers() << 0u;
    }

    void otherKeys()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(uint, keysym);

        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
            const QKeyEvent event(type, key, modifiers, 0, keysym, 0);
            const auto code = keypadKeyCode(event);
            QVERIFY2(!code.has_value(), qPrintable(QString::number(code.value_or(0))));
        }
    }
};

QTEST_APPLESS_MAIN(TestKeypadKeys)
#include "TestKeypadKeys.moc"
