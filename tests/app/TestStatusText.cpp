// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StatusText.h"

#include <QTest>

class TestStatusText : public QObject
{
    Q_OBJECT

private slots:
    void text_data()
    {
        QTest::addColumn<int>("remaining");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("text");

        QTest::newRow("a lesson starts")
            << 64 << 0 << 0 << 0 << "Rimanenti: 64         Giusti: 0         Sbagliati: 0         Punteggio: 0";
        QTest::newRow("a lesson ends")
            << 0 << 70 << 6 << 9803 << "Rimanenti: 0         Giusti: 70         Sbagliati: 6         Punteggio: 9803";
        QTest::newRow("negative numbers keep their sign")
            << -1 << -20 << 3 << -2147483647 - 1
            << "Rimanenti: -1         Giusti: -20         Sbagliati: 3         Punteggio: -2147483648";
    }

    void text()
    {
        QFETCH(int, remaining);
        QFETCH(int, right);
        QFETCH(int, wrong);
        QFETCH(int, score);
        QFETCH(QString, text);
        QCOMPARE(statusText(remaining, right, wrong, score), text);
    }
};

QTEST_GUILESS_MAIN(TestStatusText)
#include "TestStatusText.moc"
