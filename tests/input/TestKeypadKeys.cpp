// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include <QKeyEvent>
#include <QTest>
#include <X11/keysym.h>
#include <optional>
#include <tuple>
#include <utility>

// Which key events count as keypad digits, whatever the state of NumLock: as X11 and Wayland
// deliver them, with the X keysym as the native key, and as Qt Test builds them (no native key).
// Under X11 Qt marks the keypad's keys with KeypadModifier; under Wayland it marks none, and
// keypad 2 arrives as Qt::Key_2 exactly like the main row's 2. Each row gives a key as X11
// delivers it; the test derives the other two.
class TestKeypadKeys : public QObject {
    Q_OBJECT

private slots:
    void keypadDigits_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<uint>("keysym");
        QTest::addColumn<int>("digit");

        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
        // clang-format off
        QTest::newRow("keypad 0, NumLock on") << int(Qt::Key_0) << keypad << uint(XK_KP_0) << 0;
        QTest::newRow("keypad 0, NumLock off") << int(Qt::Key_Insert) << keypad << uint(XK_KP_Insert) << 0;
        QTest::newRow("keypad 1, NumLock on, with shift") << int(Qt::Key_1) << (keypad | Qt::ShiftModifier) << uint(XK_KP_1) << 1;
        QTest::newRow("keypad 1, NumLock off") << int(Qt::Key_End) << keypad << uint(XK_KP_End) << 1;
        QTest::newRow("keypad 2, NumLock on") << int(Qt::Key_2) << keypad << uint(XK_KP_2) << 2;
        QTest::newRow("keypad 2, NumLock off") << int(Qt::Key_Down) << keypad << uint(XK_KP_Down) << 2;
        QTest::newRow("keypad 3, NumLock on") << int(Qt::Key_3) << keypad << uint(XK_KP_3) << 3;
        QTest::newRow("keypad 3, NumLock off") << int(Qt::Key_PageDown) << keypad << uint(XK_KP_Next) << 3;
        QTest::newRow("keypad 4, NumLock on") << int(Qt::Key_4) << keypad << uint(XK_KP_4) << 4;
        QTest::newRow("keypad 4, NumLock off, with ctrl") << int(Qt::Key_Left) << (keypad | Qt::ControlModifier) << uint(XK_KP_Left) << 4;
        QTest::newRow("keypad 5, NumLock on") << int(Qt::Key_5) << keypad << uint(XK_KP_5) << 5;
        QTest::newRow("keypad 5, NumLock off") << int(Qt::Key_Clear) << keypad << uint(XK_KP_Begin) << 5;
        QTest::newRow("keypad 6, NumLock on, with alt") << int(Qt::Key_6) << (keypad | Qt::AltModifier) << uint(XK_KP_6) << 6;
        QTest::newRow("keypad 6, NumLock off") << int(Qt::Key_Right) << keypad << uint(XK_KP_Right) << 6;
        QTest::newRow("keypad 7, NumLock on") << int(Qt::Key_7) << keypad << uint(XK_KP_7) << 7;
        QTest::newRow("keypad 7, NumLock off") << int(Qt::Key_Home) << keypad << uint(XK_KP_Home) << 7;
        QTest::newRow("keypad 8, NumLock on") << int(Qt::Key_8) << keypad << uint(XK_KP_8) << 8;
        QTest::newRow("keypad 8, NumLock off") << int(Qt::Key_Up) << keypad << uint(XK_KP_Up) << 8;
        QTest::newRow("keypad 9, NumLock on") << int(Qt::Key_9) << keypad << uint(XK_KP_9) << 9;
        QTest::newRow("keypad 9, NumLock off, with shift ctrl alt") << int(Qt::Key_PageUp) << (keypad | Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << uint(XK_KP_Prior) << 9;
        // clang-format on
    }

    void keypadDigits()
    {
        QFETCH(int, digit);
        for (const auto &[where, code] : codes())
            QVERIFY2(code == 96 + digit, qPrintable(where + QString::number(code.value_or(0))));
    }

    void otherKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<uint>("keysym");

        const Qt::KeyboardModifiers none;
        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
        // clang-format off
        QTest::newRow("main-row 0") << int(Qt::Key_0) << none << uint(XK_0);
        QTest::newRow("main-row 2") << int(Qt::Key_2) << none << uint(XK_2);
        QTest::newRow("main-row 9") << int(Qt::Key_9) << none << uint(XK_9);
        QTest::newRow("main-row 5 with shift") << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::ShiftModifier) << uint(XK_5);

        QTest::newRow("dedicated Insert") << int(Qt::Key_Insert) << none << uint(XK_Insert);
        QTest::newRow("dedicated End") << int(Qt::Key_End) << none << uint(XK_End);
        QTest::newRow("dedicated Down") << int(Qt::Key_Down) << none << uint(XK_Down);
        QTest::newRow("dedicated PageDown") << int(Qt::Key_PageDown) << none << uint(XK_Page_Down);
        QTest::newRow("dedicated Left") << int(Qt::Key_Left) << none << uint(XK_Left);
        QTest::newRow("dedicated Clear") << int(Qt::Key_Clear) << none << uint(XK_Clear);
        QTest::newRow("dedicated Right") << int(Qt::Key_Right) << none << uint(XK_Right);
        QTest::newRow("dedicated Home") << int(Qt::Key_Home) << none << uint(XK_Home);
        QTest::newRow("dedicated Up") << int(Qt::Key_Up) << none << uint(XK_Up);
        QTest::newRow("dedicated PageUp") << int(Qt::Key_PageUp) << none << uint(XK_Page_Up);

        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << uint(XK_KP_Enter);
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << keypad << uint(XK_KP_Add);
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << keypad << uint(XK_KP_Subtract);
        QTest::newRow("keypad asterisk") << int(Qt::Key_Asterisk) << keypad << uint(XK_KP_Multiply);
        QTest::newRow("keypad decimal point") << int(Qt::Key_Period) << keypad << uint(XK_KP_Decimal);
        QTest::newRow("keypad NumLock") << int(Qt::Key_NumLock) << keypad << uint(XK_Num_Lock);
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << keypad << uint(XK_KP_Separator);
        // The neighbours of the keypad's digits: slash just below 0 as keysym and as Qt key, Delete
        // just above Insert, F4 just below Home, and just above 9.
        QTest::newRow("keypad slash") << int(Qt::Key_Slash) << keypad << uint(XK_KP_Divide);
        QTest::newRow("keypad Delete (decimal point, NumLock off)") << int(Qt::Key_Delete) << keypad << uint(XK_KP_Delete);
        QTest::newRow("keypad F4") << int(Qt::Key_F4) << keypad << uint(XK_KP_F4);
        QTest::newRow("just above keypad 9") << int(Qt::Key_Colon) << keypad << uint(XK_KP_9 + 1);

        QTest::newRow("letter A, even marked as a keypad key") << int(Qt::Key_A) << keypad << uint(XK_a);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << uint(XK_Escape);
        QTest::newRow("Return") << int(Qt::Key_Return) << none << uint(XK_Return);
        QTest::newRow("space") << int(Qt::Key_Space) << none << uint(XK_space);
        QTest::newRow("F7") << int(Qt::Key_F7) << none << uint(XK_F7);
        // clang-format on
    }

    void otherKeys()
    {
        for (const auto &[where, code] : codes())
            QVERIFY2(!code.has_value(), qPrintable(where + QString::number(code.value_or(0))));
    }

private:
    // What the row's key gives, pressed and released, as X11 delivers it, as Wayland does (without
    // KeypadModifier) and as Qt Test builds it (without the native key).
    static QList<std::pair<QString, std::optional<std::int16_t>>> codes()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(uint, keysym);
        const std::tuple<const char *, Qt::KeyboardModifiers, uint> deliveries[] = {
            { "X11", modifiers, keysym },
            { "Wayland", modifiers & ~Qt::KeyboardModifiers(Qt::KeypadModifier), keysym },
            { "Qt Test", modifiers, 0 },
        };
        QList<std::pair<QString, std::optional<std::int16_t>>> codes;
        for (const auto &[where, held, native] : deliveries) {
            for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
                const QKeyEvent event(type, key, held, 0, native, 0);
                const char *what = type == QEvent::KeyPress ? "press" : "release";
                codes.append(
                    { QStringLiteral("%1 %2 gives ").arg(where, what), keypadKeyCode(event) });
            }
        }
        return codes;
    }
};

QTEST_APPLESS_MAIN(TestKeypadKeys)
#include "TestKeypadKeys.moc"
