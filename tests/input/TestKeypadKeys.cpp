// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"
#include "WindowsKeys.h"

#include <QKeyEvent>
#include <QTest>
#include <X11/keysym.h>
#include <optional>
#include <utility>

// Which key events count as keypad digits, whatever the state of NumLock: as X11 and Wayland
// deliver them, with the X keysym as the native key, as Windows delivers them, with its virtual
// key and scan code, and as Qt Test builds them (no native key). Under X11 and Windows Qt marks
// the keypad's keys with KeypadModifier; under Wayland it marks none, and keypad 2 arrives as
// Qt::Key_2 exactly like the main row's 2. On-screen keyboards and input tools on Windows send a
// virtual key with no scan code. Each row gives a key as X11 delivers it, with Windows' codes for
// it; the test derives the other deliveries.
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
        // Whether the key gives its digit from its virtual key alone, with any scan code or none.
        QTest::addColumn<bool>("ownVirtualKey");

        const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
        // clang-format off
        QTest::newRow("keypad 0, NumLock on") << int(Qt::Key_0) << keypad << uint(XK_KP_0) << uint(VK_NUMPAD0) << scanCodeOf(VK_NUMPAD0) << 0 << true;
        QTest::newRow("keypad 0, NumLock off") << int(Qt::Key_Insert) << keypad << uint(XK_KP_Insert) << uint(VK_INSERT) << scanCodeOf(VK_INSERT) << 0 << false;
        QTest::newRow("keypad 1, NumLock on, with shift") << int(Qt::Key_1) << (keypad | Qt::ShiftModifier) << uint(XK_KP_1) << uint(VK_NUMPAD0 + 1) << scanCodeOf(VK_NUMPAD0 + 1) << 1 << true;
        QTest::newRow("keypad 1, NumLock off") << int(Qt::Key_End) << keypad << uint(XK_KP_End) << uint(VK_END) << scanCodeOf(VK_END) << 1 << false;
        QTest::newRow("keypad 2, NumLock on") << int(Qt::Key_2) << keypad << uint(XK_KP_2) << uint(VK_NUMPAD0 + 2) << scanCodeOf(VK_NUMPAD0 + 2) << 2 << true;
        QTest::newRow("keypad 2, NumLock off") << int(Qt::Key_Down) << keypad << uint(XK_KP_Down) << uint(VK_DOWN) << scanCodeOf(VK_DOWN) << 2 << false;
        QTest::newRow("keypad 3, NumLock on") << int(Qt::Key_3) << keypad << uint(XK_KP_3) << uint(VK_NUMPAD0 + 3) << scanCodeOf(VK_NUMPAD0 + 3) << 3 << true;
        QTest::newRow("keypad 3, NumLock off") << int(Qt::Key_PageDown) << keypad << uint(XK_KP_Next) << uint(VK_NEXT) << scanCodeOf(VK_NEXT) << 3 << false;
        QTest::newRow("keypad 4, NumLock on") << int(Qt::Key_4) << keypad << uint(XK_KP_4) << uint(VK_NUMPAD0 + 4) << scanCodeOf(VK_NUMPAD0 + 4) << 4 << true;
        QTest::newRow("keypad 4, NumLock off, with ctrl") << int(Qt::Key_Left) << (keypad | Qt::ControlModifier) << uint(XK_KP_Left) << uint(VK_LEFT) << scanCodeOf(VK_LEFT) << 4 << false;
        QTest::newRow("keypad 5, NumLock on") << int(Qt::Key_5) << keypad << uint(XK_KP_5) << uint(VK_NUMPAD0 + 5) << scanCodeOf(VK_NUMPAD0 + 5) << 5 << true;
        QTest::newRow("keypad 5, NumLock off") << int(Qt::Key_Clear) << keypad << uint(XK_KP_Begin) << uint(VK_CLEAR) << scanCodeOf(VK_CLEAR) << 5 << false;
        QTest::newRow("keypad 5, NumLock off, as Qt names it in a browser") << int(Qt::Key_Pause) << keypad << uint(XK_KP_Begin) << uint(VK_CLEAR) << scanCodeOf(VK_CLEAR) << 5 << false;
        QTest::newRow("keypad 6, NumLock on, with alt") << int(Qt::Key_6) << (keypad | Qt::AltModifier) << uint(XK_KP_6) << uint(VK_NUMPAD0 + 6) << scanCodeOf(VK_NUMPAD0 + 6) << 6 << true;
        QTest::newRow("keypad 6, NumLock off") << int(Qt::Key_Right) << keypad << uint(XK_KP_Right) << uint(VK_RIGHT) << scanCodeOf(VK_RIGHT) << 6 << false;
        QTest::newRow("keypad 7, NumLock on") << int(Qt::Key_7) << keypad << uint(XK_KP_7) << uint(VK_NUMPAD0 + 7) << scanCodeOf(VK_NUMPAD0 + 7) << 7 << true;
        QTest::newRow("keypad 7, NumLock off") << int(Qt::Key_Home) << keypad << uint(XK_KP_Home) << uint(VK_HOME) << scanCodeOf(VK_HOME) << 7 << false;
        QTest::newRow("keypad 8, NumLock on") << int(Qt::Key_8) << keypad << uint(XK_KP_8) << uint(VK_NUMPAD0 + 8) << scanCodeOf(VK_NUMPAD0 + 8) << 8 << true;
        QTest::newRow("keypad 8, NumLock off") << int(Qt::Key_Up) << keypad << uint(XK_KP_Up) << uint(VK_UP) << scanCodeOf(VK_UP) << 8 << false;
        QTest::newRow("keypad 9, NumLock on") << int(Qt::Key_9) << keypad << uint(XK_KP_9) << uint(VK_NUMPAD0 + 9) << scanCodeOf(VK_NUMPAD0 + 9) << 9 << true;
        QTest::newRow("keypad 9, NumLock off, with shift ctrl alt") << int(Qt::Key_PageUp) << (keypad | Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << uint(XK_KP_Prior) << uint(VK_PRIOR) << scanCodeOf(VK_PRIOR) << 9 << false;
        // clang-format on
    }

    void keypadDigits()
    {
        QFETCH(int, digit);
        QFETCH(bool, ownVirtualKey);
        // Without its own scan code, a navigation key of the keypad is the dedicated key's twin; a
        // digit's own virtual key is not.
        for (const auto &[where, code] : codes()) {
            const bool told = ownVirtualKey || !where.startsWith(QLatin1String(ForeignScanCode));
            QVERIFY2(code == (told ? std::optional<std::int16_t>(96 + digit) : std::nullopt),
                qPrintable(where + QString::number(code.value_or(0))));
        }
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
        QTest::newRow("main-row 0") << int(Qt::Key_0) << none << uint(XK_0) << uint('0') << scanCodeOf('0');
        QTest::newRow("main-row 2") << int(Qt::Key_2) << none << uint(XK_2) << uint('2') << scanCodeOf('2');
        QTest::newRow("main-row 9") << int(Qt::Key_9) << none << uint(XK_9) << uint('9') << scanCodeOf('9');
        QTest::newRow("main-row 5 with shift") << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::ShiftModifier) << uint(XK_5) << uint('5') << scanCodeOf('5');

        QTest::newRow("dedicated Insert") << int(Qt::Key_Insert) << none << uint(XK_Insert) << uint(VK_INSERT) << extendedScanCodeOf(VK_INSERT);
        QTest::newRow("dedicated End") << int(Qt::Key_End) << none << uint(XK_End) << uint(VK_END) << extendedScanCodeOf(VK_END);
        QTest::newRow("dedicated Down") << int(Qt::Key_Down) << none << uint(XK_Down) << uint(VK_DOWN) << extendedScanCodeOf(VK_DOWN);
        QTest::newRow("dedicated PageDown") << int(Qt::Key_PageDown) << none << uint(XK_Page_Down) << uint(VK_NEXT) << extendedScanCodeOf(VK_NEXT);
        QTest::newRow("dedicated Left") << int(Qt::Key_Left) << none << uint(XK_Left) << uint(VK_LEFT) << extendedScanCodeOf(VK_LEFT);
        QTest::newRow("dedicated Clear") << int(Qt::Key_Clear) << none << uint(XK_Clear) << uint(VK_CLEAR) << extendedScanCodeOf(VK_CLEAR);
        QTest::newRow("dedicated Right") << int(Qt::Key_Right) << none << uint(XK_Right) << uint(VK_RIGHT) << extendedScanCodeOf(VK_RIGHT);
        QTest::newRow("dedicated Home") << int(Qt::Key_Home) << none << uint(XK_Home) << uint(VK_HOME) << extendedScanCodeOf(VK_HOME);
        QTest::newRow("dedicated Up") << int(Qt::Key_Up) << none << uint(XK_Up) << uint(VK_UP) << extendedScanCodeOf(VK_UP);
        QTest::newRow("dedicated PageUp") << int(Qt::Key_PageUp) << none << uint(XK_Page_Up) << uint(VK_PRIOR) << extendedScanCodeOf(VK_PRIOR);

        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << keypad << uint(XK_KP_Enter) << uint(VK_RETURN) << extendedScanCodeOf(VK_RETURN);
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << keypad << uint(XK_KP_Add) << uint(VK_ADD) << scanCodeOf(VK_ADD);
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << keypad << uint(XK_KP_Subtract) << uint(VK_SUBTRACT) << scanCodeOf(VK_SUBTRACT);
        QTest::newRow("keypad asterisk") << int(Qt::Key_Asterisk) << keypad << uint(XK_KP_Multiply) << uint(VK_MULTIPLY) << scanCodeOf(VK_MULTIPLY);
        QTest::newRow("keypad decimal point") << int(Qt::Key_Period) << keypad << uint(XK_KP_Decimal) << uint(VK_DECIMAL) << scanCodeOf(VK_DECIMAL);
        QTest::newRow("keypad NumLock") << int(Qt::Key_NumLock) << keypad << uint(XK_Num_Lock) << uint(VK_NUMLOCK) << extendedScanCodeOf(VK_NUMLOCK);
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << keypad << uint(XK_KP_Separator) << uint(VK_SEPARATOR) << scanCodeOf(VK_SEPARATOR);
        // The neighbours of the keypad's digits: slash just below 0 as keysym and as Qt key, Delete
        // just above Insert, F4 just below Home, and just above 9.
        QTest::newRow("keypad slash") << int(Qt::Key_Slash) << keypad << uint(XK_KP_Divide) << uint(VK_DIVIDE) << extendedScanCodeOf(VK_DIVIDE);
        QTest::newRow("keypad Delete (decimal point, NumLock off)") << int(Qt::Key_Delete) << keypad << uint(XK_KP_Delete) << uint(VK_DELETE) << scanCodeOf(VK_DELETE);
        QTest::newRow("keypad F4") << int(Qt::Key_F4) << keypad << uint(XK_KP_F4) << uint(VK_F4) << scanCodeOf(VK_F4);
        QTest::newRow("just above keypad 9") << int(Qt::Key_Colon) << keypad << uint(XK_KP_9 + 1) << uint(VK_MULTIPLY) << scanCodeOf(VK_MULTIPLY);

        QTest::newRow("letter A, even marked as a keypad key") << int(Qt::Key_A) << keypad << uint(XK_a) << uint('A') << scanCodeOf('A');
        QTest::newRow("grave accent, whose keysym is Windows' keypad 0") << int(Qt::Key_QuoteLeft) << none << uint(XK_grave) << uint(VK_OEM_3) << scanCodeOf(VK_OEM_3);
        QTest::newRow("Pause") << int(Qt::Key_Pause) << none << uint(XK_Pause) << uint(VK_PAUSE) << scanCodeOf(VK_PAUSE);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << none << uint(XK_Escape) << uint(VK_ESCAPE) << scanCodeOf(VK_ESCAPE);
        QTest::newRow("Return") << int(Qt::Key_Return) << none << uint(XK_Return) << uint(VK_RETURN) << scanCodeOf(VK_RETURN);
        QTest::newRow("space") << int(Qt::Key_Space) << none << uint(XK_space) << uint(VK_SPACE) << scanCodeOf(VK_SPACE);
        QTest::newRow("F7") << int(Qt::Key_F7) << none << uint(XK_F7) << uint(VK_F7) << scanCodeOf(VK_F7);
        // clang-format on
    }

    void otherKeys()
    {
        for (const auto &[where, code] : codes())
            QVERIFY2(!code.has_value(), qPrintable(where + QString::number(code.value_or(0))));
    }

private:
    // Deliveries of Windows' virtual key without the key's own scan code.
    static constexpr const char *ForeignScanCode = "Windows, not the key's scan code";

    // What the row's key gives, pressed and released, as X11 delivers it, as Wayland does (without
    // KeypadModifier), as Windows does (its virtual key and scan code, 0x100 added for an extended
    // key, or its virtual key alone), as Qt Test builds it on either (without native codes) and as
    // a browser gives it (no native codes either, KeypadModifier for the keypad's keys alone).
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
            { "Windows, not the key's scan code: none", NativeKeys::Windows, modifiers, 0, virtualKey },
            { "Windows, not the key's scan code: the main row's 1", NativeKeys::Windows, modifiers,
                scanCodeOf('1'), virtualKey },
            { "Qt Test on Windows", NativeKeys::Windows, modifiers, 0, 0 },
            { "a browser", NativeKeys::None, modifiers, 0, 0 },
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
