// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FormControls.h"
#include "FormDesign.h"
#include "Frame.h"
#include "Icon.h"
#include "Label.h"

#include <QTest>
#include <QWidget>

// The window as created, before any layout pass: every control as designed.
class TestFormDesign : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        window = std::make_unique<QWidget>();
        c = createControls(window.get());
    }

    void labels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("look"); // b border, c centred, t transparent, h hidden, B bold

        const QColor lightBlue(128, 128, 255);
        QTest::newRow("Basta!") << "LabelLevel(0)" << "FrameLevel" << "Basta!" << QRect(50, 340, 183, 49) << QColor(192, 192, 255) << 26.25 << "bc";
        QTest::newRow("Livello 1") << "LabelLevel(1)" << "FrameLevel" << "Livello 1" << QRect(10, 15, 263, 54) << QColor(192, 255, 192) << 26.25 << "bc";
        QTest::newRow("Livello 2") << "LabelLevel(2)" << "FrameLevel" << "Livello 2" << QRect(10, 75, 263, 54) << QColor(128, 255, 128) << 26.25 << "bc";
        QTest::newRow("Livello 3") << "LabelLevel(3)" << "FrameLevel" << "Livello 3" << QRect(10, 135, 263, 54) << QColor(0, 255, 0) << 26.25 << "bc";
        QTest::newRow("Livello 4") << "LabelLevel(4)" << "FrameLevel" << "Livello 4" << QRect(10, 195, 263, 54) << QColor(255, 255, 0) << 26.25 << "bc";
        QTest::newRow("Livello 5") << "LabelLevel(5)" << "FrameLevel" << "Livello 5" << QRect(10, 255, 263, 54) << QColor(255, 0, 0) << 26.25 << "bc";
        QTest::newRow("hint") << "LabelHint" << "FrameNum" << "Clicca o Digita il Risultato" << QRect(10, 10, 283, 19) << QColor(192, 0, 192) << 9.0 << "c";
        QTest::newRow("digit 7") << "LabelDigit(7)" << "FrameNum" << "7" << QRect(8, 31, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 8") << "LabelDigit(8)" << "FrameNum" << "8" << QRect(104, 31, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 9") << "LabelDigit(9)" << "FrameNum" << "9" << QRect(200, 31, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 4") << "LabelDigit(4)" << "FrameNum" << "4" << QRect(8, 119, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 5") << "LabelDigit(5)" << "FrameNum" << "5" << QRect(104, 119, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 6") << "LabelDigit(6)" << "FrameNum" << "6" << QRect(200, 119, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 1") << "LabelDigit(1)" << "FrameNum" << "1" << QRect(8, 207, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 2") << "LabelDigit(2)" << "FrameNum" << "2" << QRect(104, 207, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 3") << "LabelDigit(3)" << "FrameNum" << "3" << QRect(200, 207, 93, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("digit 0, two columns wide") << "LabelDigit(0)" << "FrameNum" << "0" << QRect(8, 295, 189, 84) << lightBlue << 48.0 << "bc";
        QTest::newRow("Stop") << "LabelStop" << "FormMain" << "Stop" << QRect(670, 525, 63, 19) << QColor(255, 0, 0) << 8.25 << "bcB";
        QTest::newRow("message") << "LabelM" << "FormMain" << "NO!" << QRect(0, 195, 726, 211) << QColor(255, 0, 0) << 99.75 << "cth";
        QTest::newRow("product") << "LabelR" << "FormMain" << "42" << QRect(0, 195, 726, 331) << QColor(255, 255, 255) << 200.25 << "ct";
        QTest::newRow("status line") << "LabelG" << "FormMain" << "Giusti: 0                  Sbagliati: 0" << QRect(5, 525, 691, 16) << QColor(0, 128, 0) << 9.0 << "t";
        QTest::newRow("second factor") << "Label2" << "FormMain" << "7" << QRect(470, 0, 261, 196) << QColor(255, 255, 255) << 120.0 << "c";
        QTest::newRow("sign") << "LabelX" << "FormMain" << "x" << QRect(260, 0, 211, 196) << QColor(255, 255, 255) << 120.0 << "c";
        QTest::newRow("first factor") << "Label1" << "FormMain" << "6" << QRect(0, 0, 261, 196) << QColor(255, 255, 255) << 120.0 << "c";
        QTest::newRow("dot grid") << "LabelP" << "FormMain" << QString(6, QChar(0xB0)) << QRect(0, 195, 726, 341) << QColor(128, 128, 128) << 99.75 << "c";
    }

    void labels()
    {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QString, caption);
        QFETCH(QRect, pixels);
        QFETCH(QColor, text);
        QFETCH(double, points);
        QFETCH(QString, look);
        window->setObjectName(QStringLiteral("FormMain"));

        const auto *label = window->findChild<Label *>(name);
        QVERIFY(label);
        QCOMPARE(label->parentWidget()->objectName(), parent);
        QCOMPARE(label->caption(), caption);
        QCOMPARE(label->geometry(), pixels);
        QCOMPARE(toQColor(label->foreColor()), text);
        QCOMPARE(label->backColor(), Colours::Black);
        QCOMPARE(label->fontSize(), points);
        QCOMPARE(label->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(label->hasBorder(), look.contains('b'));
        QCOMPARE(label->isCentred(), look.contains('c'));
        QCOMPARE(label->isTransparent(), look.contains('t'));
        QCOMPARE(label->isHidden(), look.contains('h'));
        QCOMPARE(label->isBold(), look.contains('B'));
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }

    void framesStartHidden()
    {
        QCOMPARE(c.FrameLevel->geometry(), QRect(230, 75, 281, 396));
        QCOMPARE(c.FrameNum->geometry(), QRect(424, 153, 300, 388));
        QVERIFY(c.FrameLevel->isHidden());
        QVERIFY(c.FrameNum->isHidden());
    }

    // Front to back: the menu, the digit pad, "Stop", the message, the product, the status line,
    // the factors and, at the very back, the dot grid.
    void stacking()
    {
        QStringList frontToBack;
        const auto children = window->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            frontToBack << (*it)->objectName();
        QCOMPARE(frontToBack,
            (QStringList { "FrameLevel", "FrameNum", "LabelStop", "LabelM", "LabelR", "LabelG", "Label2",
                "LabelX", "Label1", "LabelP" }));
    }

    void arraysAreIndexedByTheirDigitOrLevel()
    {
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(c.LabelDigit[i]->index(), i);
            QCOMPARE(c.LabelDigit[i]->caption(), QString::number(i));
        }
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(c.LabelLevel[i]->caption(), QStringLiteral("Livello %1").arg(i));
    }

    void icon()
    {
        const QImage icon = corvalloIcon();
        QCOMPARE(icon.size(), QSize(32, 32));
        QVERIFY(!icon.hasAlphaChannel());
        QCOMPARE(icon.pixelColor(0, 0), QColor(Qt::black));
        // Each character in its colour: 6 yellow, x red, 7 green on top, 42 cyan below.
        QCOMPARE(icon.pixelColor(3, 3), QColor(255, 255, 0));
        QCOMPARE(icon.pixelColor(13, 7), QColor(255, 0, 0));
        QCOMPARE(icon.pixelColor(23, 3), QColor(0, 255, 0));
        QCOMPARE(icon.pixelColor(5, 16), QColor(0, 255, 255));
        QCOMPARE(icon.pixelColor(18, 16), QColor(0, 255, 255));
        const QImage large = corvalloIcon(4);
        QCOMPARE(large.size(), QSize(128, 128));
        QCOMPARE(large.pixelColor(4 * 3 + 3, 4 * 3 + 3), QColor(255, 255, 0));
    }

private:
    std::unique_ptr<QWidget> window;
    FormControls c;
};

QTEST_MAIN(TestFormDesign)
#include "TestFormDesign.moc"
