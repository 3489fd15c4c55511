// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FormControls.h"
#include "FormLayout.h"
#include "Frame.h"
#include "Label.h"

#include <QTest>
#include <QWidget>

// The layout pass: where every control goes for a window size, and the font unit.
class TestFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        window = std::make_unique<QWidget>();
        c = createControls(window.get());
    }

    void designSize()
    {
        QCOMPARE(layOutForm(c, 10965, 8160), 109);
        const auto geometry = [](const Label *l) {
            return QList<double> { l->leftTwips(), l->topTwips(), l->widthTwips(), l->heightTwips() };
        };
        QCOMPARE(geometry(c.Label1), (QList<double> { 913.75, 0, 2741.25, 2720 }));
        QCOMPARE(geometry(c.LabelX), (QList<double> { 3655, 0, 3655, 2720 }));
        QCOMPARE(geometry(c.Label2), (QList<double> { 7310, 0, 2741.25, 2720 }));
        QCOMPARE(geometry(c.LabelP), (QList<double> { 0, 2720, 10965, 5200 }));
        QCOMPARE(geometry(c.LabelR), (QList<double> { 0, 2040, 10965, 5200 }));
        QCOMPARE(geometry(c.LabelM), (QList<double> { 0, 2820, 10965, 3165 }));
        QCOMPARE(geometry(c.LabelG), (QList<double> { 75, 7920, 10365, 240 }));
        QCOMPARE(geometry(c.LabelStop), (QList<double> { 10020, 7875, 945, 285 }));
        QCOMPARE(c.FrameLevel->topTwips(), 1110.0);
        QCOMPARE(c.FrameLevel->leftTwips(), 3375.0);
        QCOMPARE(c.FrameNum->topTwips(), 2340.0);
        QCOMPARE(c.FrameNum->leftTwips(), 6465.0);
        QCOMPARE(c.LabelX->fontSize(), 109.0);
        QCOMPARE(c.LabelP->fontSize(), double(21.8f));
        QCOMPARE(c.LabelR->fontSize(), 163.5);
        // What the pass never sets keeps its design value.
        QCOMPARE(c.Label1->fontSize(), 120.0);
        QCOMPARE(c.LabelM->fontSize(), 99.75);
        // On screen, at 15 twips a pixel: the factor group meets edge to edge.
        QCOMPARE(c.Label1->geometry(), QRect(61, 0, 183, 181));
        QCOMPARE(c.LabelX->geometry(), QRect(244, 0, 243, 181));
        QCOMPARE(c.Label2->geometry(), QRect(487, 0, 183, 181));
        QCOMPARE(c.FrameLevel->geometry(), QRect(225, 74, 281, 396));
        QCOMPARE(c.LabelStop->geometry(), QRect(668, 525, 63, 19));
    }

    void rounding_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("label1Left"); // w / 4
        QTest::addColumn<double>("labelPTop"); // h
        QTest::addColumn<int>("fontUnit");

        QTest::newRow("width 10000 rounds a third down") << 10000.0 << 8160.0 << 833.25 << 2720.0 << 109;
        QTest::newRow("a half height rounds down to even") << 10965.0 << 7537.5 << 913.75 << 2512.0 << 100;
        QTest::newRow("a half height rounds up to even") << 10965.0 << 7540.5 << 913.75 << 2514.0 << 101;
        QTest::newRow("font unit from the rounded third") << 10965.0 << 1912.5 << 913.75 << 638.0 << 26;
    }

    void rounding()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(double, label1Left);
        QFETCH(double, labelPTop);
        QFETCH(int, fontUnit);
        QCOMPARE(layOutForm(c, width, height), fontUnit);
        QCOMPARE(c.Label1->leftTwips(), label1Left);
        QCOMPARE(c.LabelP->topTwips(), labelPTop);
    }

    void aSecondPassGivesTheSameValues()
    {
        layOutForm(c, 12000, 9000);
        const QRect before = c.LabelR->geometry();
        const double size = c.LabelR->fontSize();
        QCOMPARE(layOutForm(c, 12000, 9000), 120);
        QCOMPARE(c.LabelR->geometry(), before);
        QCOMPARE(c.LabelR->fontSize(), size);
    }

    void tinyWindowsClampHeightsAtZero_data()
    {
        QTest::addColumn<double>("height");
        QTest::newRow("title bar only") << 300.0;
        QTest::newRow("one pixel") << 15.0;
        QTest::newRow("nothing") << 0.0;
    }

    void tinyWindowsClampHeightsAtZero()
    {
        QFETCH(double, height);
        layOutForm(c, 15, height);
        QCOMPARE(c.LabelP->heightTwips(), 0.0);
        QCOMPARE(c.LabelR->heightTwips(), 0.0);
        QVERIFY(c.LabelP->height() >= 0 && c.LabelR->height() >= 0);
        QVERIFY(c.LabelX->font().pixelSize() >= 1);
    }

    void everyPassShowsTheMenu()
    {
        c.FrameLevel->setVisible(false);
        layOutForm(c, 10965, 8160);
        QVERIFY(!c.FrameLevel->isHidden());
    }

    void clearDisplayBlanksTheQuestionLabelsOnly()
    {
        c.LabelM->setCaption(QStringLiteral("Tempo!"));
        clearDisplay(c);
        for (Label *label : c.questionLabels()) {
            QCOMPARE(label->caption(), QString());
            QCOMPARE(label->foreColor(), Colours::Black);
        }
        QCOMPARE(c.LabelM->caption(), QStringLiteral("Tempo!"));
        QCOMPARE(c.LabelM->foreColor(), rgb(255, 0, 0));
        QCOMPARE(c.LabelG->caption(), QStringLiteral("Giusti: 0                  Sbagliati: 0"));
    }

private:
    std::unique_ptr<QWidget> window;
    FormControls c;
};

QTEST_MAIN(TestFormLayout)
#include "TestFormLayout.moc"
