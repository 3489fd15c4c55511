// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "KeypadKeys.h"

#include <QKeyEvent>
#include <QTest>
#include <array>
#include <utility>

// Which Qt key events count as keypad digits, whatever the state of NumLock.
class TestKeypadKeys : public QObject {
    Q_OBJECT

private slots:
    void keypadDigits_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<int>("digit");

        // What Qt reports for keypad 0..9 with NumLock off.
        const std::array<Qt::Key, 10> navigation { Qt::Key_Insert, Qt::Key_End, Qt::Key_Down,
            Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Clear, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up,
            Qt::Key_PageUp };
        const std::array<std::pair<const char *, Qt::KeyboardModifiers>, 5> extras { {
            { "", {} },
            { " with shift", Qt::ShiftModifier },
            { " with ctrl", Qt::ControlModifier },
            { " with alt", Qt::AltModifier },
            { " with shift ctrl alt", Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier },
        } };
        for (int digit = 0; digit <= 9; ++digit) {
            for (const auto &[suffix, extra] : extras) {
                QTest::addRow("keypad %d, NumLock on%s", digit, suffix)
                    << int(Qt::Key_0 + digit) << (Qt::KeypadModifier | extra) << digit;
                QTest::addRow("keypad %d, NumLock off%s", digit, suffix)
                    << int(navigation[digit]) << (Qt::KeypadModifier | extra) << digit;
            }
        }
    }

    void keypadDigits()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(int, digit);

        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
            const QKeyEvent event(type, key, modifiers);
            const auto code = keypadKeyCode(event);
            QVERIFY(code.has_value());
            QCOMPARE(int(*code), 96 + digit);
        }
    }

    void otherKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

        for (int digit = 0; digit <= 9; ++digit) {
            QTest::addRow("main-row %d", digit)
                << int(Qt::Key_0 + digit) << Qt::KeyboardModifiers();
            QTest::addRow("main-row %d with shift", digit)
                << int(Qt::Key_0 + digit) << Qt::KeyboardModifiers(Qt::ShiftModifier);
        }
        const std::array<std::pair<const char *, Qt::Key>, 10> dedicated { {
            { "Insert", Qt::Key_Insert },
            { "End", Qt::Key_End },
            { "Down", Qt::Key_Down },
            { "PageDown", Qt::Key_PageDown },
            { "Left", Qt::Key_Left },
            { "Clear", Qt::Key_Clear },
            { "Right", Qt::Key_Right },
            { "Home", Qt::Key_Home },
            { "Up", Qt::Key_Up },
            { "PageUp", Qt::Key_PageUp },
        } };
        for (const auto &[name, key] : dedicated)
            QTest::addRow("dedicated %s", name) << int(key) << Qt::KeyboardModifiers();

        const std::array<std::pair<const char *, Qt::Key>, 9> keypadOthers { {
            { "Enter", Qt::Key_Enter },
            { "plus", Qt::Key_Plus },
            { "minus", Qt::Key_Minus },
            { "asterisk", Qt::Key_Asterisk },
            { "slash", Qt::Key_Slash },
            { "decimal point", Qt::Key_Period },
            { "Delete (decimal point, NumLock off)", Qt::Key_Delete },
            { "NumLock", Qt::Key_NumLock },
            { "comma", Qt::Key_Comma },
        } };
        for (const auto &[name, key] : keypadOthers)
            QTest::addRow("keypad %s", name)
                << int(key) << Qt::KeyboardModifiers(Qt::KeypadModifier);

        QTest::newRow("letter A") << int(Qt::Key_A) << Qt::KeyboardModifiers();
        QTest::newRow("letter A with keypad modifier")
            << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << Qt::KeyboardModifiers();
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
        QTest::newRow("F7") << int(Qt::Key_F7) << Qt::KeyboardModifiers();
    }

    void otherKeys()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);

        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
            const QKeyEvent event(type, key, modifiers);
            const auto code = keypadKeyCode(event);
            QVERIFY2(!code.has_value(), qPrintable(QString::number(code.value_or(0))));
        }
    }
};

QTEST_APPLESS_MAIN(TestKeypadKeys)
#include "TestKeypadKeys.moc"
