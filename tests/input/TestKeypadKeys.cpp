// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include <QKeyEvent>
#include <QTest>
#include <X11/keysym.h>
#include <optional>
#include <utility>

// Which key events count as keypad digits, whatever the state of NumLock: as X11 and Wayland
// deliver them, with the X keysym as the native key, as Windows delivers them, with its virtual
// key and scan code, and as Qt Test builds them (no native key). Under X11 and Windows Qt marks
// the keypad's keys with KeypadModifier; under Wayland it marks none, and keypad 2 arrives as
// Qt::Key_2 exactly like the main row's 2. Each row gives a key as X11 delivers it, with Windows'
// codes for it; the test derives the other deliveries.
class TestKeypadKeys : public QObject {
    Q_OBJECT

private slots:
    void keypadDigits_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<uint>("keysym");
        QTest::addColumn<uint>("virtualKey");
        QTest::addColumn<uint>("scanCode");
        QTest::addColumn<int>("digit");

        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
        // clang-format off
        QTest::newRow("keypad 0, NumLock on") << int(Qt::Key_0) << keypad << uint(XK_KP_0) << uint(0x60) << uint(0x52) << 0;
        QTest::newRow("keypad 0, NumLock off") << int(Qt::Key_Insert) << keypad << uint(XK_KP_Insert) << uint(0x2d) << uint(0x52) << 0;
        QTest::newRow("keypad 1, NumLock on, with shift") << int(Qt::Key_1) << (keypad | Qt::ShiftModifier) << uint(XK_KP_1) << uint(0x61) << uint(0x4f) << 1;
        QTest::newRow("keypad 1, NumLock off") << int(Qt::Key_End) << keypad << uint(XK_KP_End) << uint(0x23) << uint(0x4f) << 1;
        QTest::newRow("keypad 2, NumLock on") << int(Qt::Key_2) << keypad << uint(XK_KP_2) << uint(0x62) << uint(0x50) << 2;
        QTest::newRow("keypad 2, NumLock off") << int(Qt::Key_Down) << keypad << uint(XK_KP_Down) << uint(0x28) << uint(0x50) << 2;
        QTest::newRow("keypad 3, NumLock on") << int(Qt::Key_3) << keypad << uint(XK_KP_3) << uint(0x63) << uint(0x51) << 3;
        QTest::newRow("keypad 3, NumLock off") << int(Qt::Key_PageDown) << keypad << uint(XK_KP_Next) << uint(0x22) << uint(0x51) << 3;
        QTest::newRow("keypad 4, NumLock on") << int(Qt::Key_4) << keypad << uint(XK_KP_4) << uint(0x64) << uint(0x4b) << 4;
        QTest::newRow("keypad 4, NumLock off, with ctrl") << int(Qt::Key_Left) << (keypad | Qt::ControlModifier) << uint(XK_KP_Left) << uint(0x25) << uint(0x4b) << 4;
        QTest::newRow("keypad 5, NumLock on") << int(Qt::Key_5) << keypad << uint(XK_KP_5) << uint(0x65) << uint(0x4c) << 5;
        QTest::newRow("keypad 5, NumLock off") << int(Qt::Key_Clear) << keypad << uint(XK_KP_Begin) << uint(0x0c) << uint(0x4c) << 5;
        QTest::newRow("keypad 6, NumLock on, with alt") << int(Qt::Key_6) << (keypad | Qt::AltModifier) << uint(XK_KP_6) << uint(0x66) << uint(0x4d) << 6;
        QTest::newRow("keypad 6, NumLock off") << int(Qt::Key_Right) << keypad << uint(XK_KP_Right) << uint(0x27) << uint(0x4d) << 6;
        QTest::newRow("keypad 7, NumLock on") << int(Qt::Key_7) << keypad << uint(XK_KP_7) << uint(0x67) << uint(0x47) << 7;
        QTest::newRow("keypad 7, NumLock off") << int(Qt::Key_Home) << keypad << uint(XK_KP_Home) << uint(0x24) << uint(0x47) << 7;
        QTest::newRow("keypad 8, NumLock on") << int(Qt::Key_8) << keypad << uint(XK_KP_8) << uint(0x68) << uint(0x48) << 8;
        QTest::newRow("keypad 8, NumLock off") << int(Qt::Key_Up) << keypad << uint(XK_KP_Up) << uint(0x26) << uint(0x48) << 8;
        QTest::newRow("keypad 9, NumLock on") << int(Qt::Key_9) << keypad << uint(XK_KP_9) << uint(0x69) << uint(0x49) << 9;
        QTest::newRow("keypad 9, NumLock off, with shift ctrl alt") << int(Qt::Key_PageUp) << (keypad | Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << uint(XK_KP_Prior) << uint(0x21) << uint(0x49) << 9;
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
        QTest::addColumn<uint>("virtualKey");
        QTest::addColumn<uint>("scanCode");

        const Qt::KeyboardModifiers none;
        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
        // clang-format off
        QTest::newRow("main-row 0") << int(Qt::Key_0) << none << uint(XK_0) << uint(0x30) << uint(0x0b);
        QTest::newRow("main-row 2") << int(Qt::Key_2) << none << uint(XK_2) << uint(0x32) << uint(0x03);
        QTest::newRow("main-row 9") << int(Qt::Key_9) << none << uint(XK_9) << uint(0x39) << uint(0x0a);
        QTest::newRow("main-row 5 with shift") << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::ShiftModifier) << uint(XK_5) << uint(0x35) << uint(0x06);

        QTest::newRow("dedicated Insert") << int(Qt::Key_Insert) << none << uint(XK_Insert) << uint(0x2d) << uint(0x152);
        QTest::newRow("dedicated End") << int(Qt::Key_End) << none << uint(XK_End) << uint(0x23) << uint(0x14f);
        QTest::newRow("dedicated Down") << int(Qt::Key_Down) << none << uint(XK_Down) << uint(0x28) << uint(0x150);
        QTest::newRow("dedicated PageDown") << int(Qt::Key_PageDown) << none << uint(XK_Page_Down) << uint(0x22) << uint(0x151);
        QTest::newRow("dedicated Left") << int(Qt::Key_Left) << none << uint(XK_Left) << uint(0x25) << uint(0x14b);
        QTest::newRow("dedicated Clear") << int(Qt::Key_Clear) << none << uint(XK_Clear) << uint(0x0c) << uint(0x14c);
        QTest::newRow("dedicated Right") << int(Qt::Key_Right) << none << uint(XK_Right) << uint(0x27) << uint(0x14d);
        QTest::newRow("dedicated Home") << int(Qt::Key_Home) << none << uint(XK_Home) << uint(0x24) << uint(0x147);
        QTest::newRow("dedicated Up") << int(Qt::Key_Up) << none << uint(XK_Up) << uint(0x26) << uint(0x148);
        QTest::newRow("dedicated PageUp") << int(Qt::Key_PageUp) << none << uint(XK_Page_Up) << uint(0x21) << uint(0x149);

        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << uint(XK_KP_Enter) << uint(0x0d) << uint(0x11c);
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << keypad << uint(XK_KP_Add) << uint(0x6b) << uint(0x4e);
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << keypad << uint(XK_KP_Subtract) << uint(0x6d) << uint(0x4a);
        QTest::newRow("keypad asterisk") << int(Qt::Key_Asterisk) << keypad << uint(XK_KP_Multiply) << uint(0x6a) << uint(0x37);
        QTest::newRow("keypad decimal point") << int(Qt::Key_Period) << keypad << uint(XK_KP_Decimal) << uint(0x6e) << uint(0x53);
        QTest::newRow("keypad NumLock") << int(Qt::Key_NumLock) << keypad << uint(XK_Num_Lock) << uint(0x90) << uint(0x145);
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << keypad << uint(XK_KP_Separator) << uint(0x6c) << uint(0x7e);
        // The neighbours of the keypad's digits: slash just below 0 as keysym and as Qt key, Delete
        // just above Insert, F4 just below Home, and just above 9.
        QTest::newRow("keypad slash") << int(Qt::Key_Slash) << keypad << uint(XK_KP_Divide) << uint(0x6f) << uint(0x135);
        QTest::newRow("keypad Delete (decimal point, NumLock off)") << int(Qt::Key_Delete) << keypad << uint(XK_KP_Delete) << uint(0x2e) << uint(0x53);
        QTest::newRow("keypad F4") << int(Qt::Key_F4) << keypad << uint(XK_KP_F4) << uint(0x73) << uint(0x3e);
        QTest::newRow("just above keypad 9") << int(Qt::Key_Colon) << keypad << uint(XK_KP_9 + 1) << uint(0x6a) << uint(0x37);

        QTest::newRow("letter A, even marked as a keypad key") << int(Qt::Key_A) << keypad << uint(XK_a) << uint(0x41) << uint(0x1e);
        QTest::newRow("grave accent, whose keysym is Windows' keypad 0") << int(Qt::Key_QuoteLeft) << none << uint(XK_grave) << uint(0xc0) << uint(0x29);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << uint(XK_Escape) << uint(0x1b) << uint(0x01);
        QTest::newRow("Return") << int(Qt::Key_Return) << none << uint(XK_Return) << uint(0x0d) << uint(0x1c);
        QTest::newRow("space") << int(Qt::Key_Space) << none << uint(XK_space) << uint(0x20) << uint(0x39);
        QTest::newRow("F7") << int(Qt::Key_F7) << none << uint(XK_F7) << uint(0x76) << uint(0x41);
        // clang-format on
    }

    void otherKeys()
    {
        for (const auto &[where, code] : codes())
            QVERIFY2(!code.has_value(), qPrintable(where + QString::number(code.value_or(0))));
    }

private:
    // What the row's key gives, pressed and released, as X11 delivers it, as Wayland does (without
    // KeypadModifier), as Windows does (its virtual key and scan code, 0x100 added for an extended
    // key) and as Qt Test builds it on either (without native codes).
    static QList<std::pair<QString, std::optional<std::int16_t>>> codes()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(uint, keysym);
        QFETCH(uint, virtualKey);
        QFETCH(uint, scanCode);
        using Host::NativeKeys;
        struct Delivery {
            const char *where;
            NativeKeys system;
            Qt::KeyboardModifiers modifiers;
            uint scanCode;
            uint virtualKey;
        };
        const Delivery deliveries[] = {
            { "X11", NativeKeys::XKeysyms, modifiers, 0, keysym },
            { "Wayland", NativeKeys::XKeysyms, modifiers & ~Qt::KeyboardModifiers(Qt::KeypadModifier), 0,
                keysym },
            { "Qt Test", NativeKeys::XKeysyms, modifiers, 0, 0 },
            { "Windows", NativeKeys::Windows, modifiers, scanCode, virtualKey },
            { "Qt Test on Windows", NativeKeys::Windows, modifiers, 0, 0 },
        };
        QList<std::pair<QString, std::optional<std::int16_t>>> codes;
        for (const Delivery &delivery : deliveries) {
            for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
                const QKeyEvent event(type, key, delivery.modifiers, delivery.scanCode,
                    delivery.virtualKey, 0);
                const char *what = type == QEvent::KeyPress ? "press" : "release";
                codes.append({ QStringLiteral("%1 %2 gives ").arg(delivery.where, what),
                    keypadKeyCode(event, delivery.system) });
            }
        }
        return codes;
    }
};

QTEST_APPLESS_MAIN(TestKeypadKeys)
#include "TestKeypadKeys.moc"
