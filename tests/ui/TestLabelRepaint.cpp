// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"
#include "Label.h"
#include "Rgb.h"

#include <QScreen>
#include <QTest>

// A label repaints only the area of its text when its text or text colour changes. After any
// run of such changes the window on screen (the backing store, read back through the platform)
// must be exactly what a full repaint of the window draws.
class TestLabelRepaint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void screenMatchesFullPaint_data();
    void screenMatchesFullPaint();
};

namespace {

// One change to a label: a caption, then a colour; an empty caption leaves the caption alone.
struct Change {
    QString caption;
    Rgb colour;
};

QString grid(int rows, int dots)
{
    return (QStringLiteral(" O ").repeated(dots) + QStringLiteral("\r\n")).repeated(rows);
}

}

Q_DECLARE_METATYPE(QList<Change>)

void TestLabelRepaint::initTestCase()
{
    Fonts::registerTahoma();
}

void TestLabelRepaint::screenMatchesFullPaint_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("border");
    QTest::addColumn<QList<Change>>("changes");

    QList<Change> fade;
    for (int level = 15; level < 256; level += 16)
        fade.append({ {}, grey(level) });
    QTest::newRow("product fading in over the grid")
        << 200.0 << true << true << false
        << (QList<Change> { { QStringLiteral("81"), grey(63) } } + fade);
    QTest::newRow("question mark replaced by a wider product")
        << 163.5 << true << true << false
        << QList<Change> { { QStringLiteral("?"), grey(255) }, { QStringLiteral("72"), grey(63) },
               { {}, grey(255) } };
    QTest::newRow("wide factor replaced by a narrow one")
        << 144.67 << false << true << false
        << QList<Change> { { QStringLiteral("8"), grey(255) }, { QStringLiteral("1"), grey(15) } };
    QList<Change> rows;
    for (int row = 1; row <= 9; ++row)
        rows.append({ grid(row, 9), grey(255) });
    for (int level = 240; level >= 64; level -= 16)
        rows.append({ {}, grey(level) });
    rows.append({ grid(2, 3), grey(64) });
    QTest::newRow("grid drawn row by row, dimmed, then a smaller one")
        << 21.8 << false << true << false << rows;
    QTest::newRow("status line, left-aligned, shorter then longer")
        << 9.0 << true << false << false
        << QList<Change> { { QStringLiteral("Da fare: 64   Giusti: 10"), rgb(0, 128, 0) },
               { QStringLiteral("Giusti: 0"), rgb(0, 128, 0) },
               { QStringLiteral("Da fare: 3   Giusti: 61   Sbagliati: 12   Punti: 9000"),
                   rgb(0, 200, 0) } };
    QTest::newRow("bordered label lit and dimmed")
        << 48.0 << false << true << true
        << QList<Change> { { QStringLiteral("5"), rgb(128, 128, 255) }, { {}, rgb(0, 0, 255) } };
    QTest::newRow("text cleared while dark, colour written while empty")
        << 120.0 << false << true << false
        << QList<Change> { { QStringLiteral("9"), grey(255) }, { QString(), grey(0) },
               { QStringLiteral(" "), grey(255) } };
}

void TestLabelRepaint::screenMatchesFullPaint()
{
    QFETCH(double, points);
    QFETCH(bool, transparent);
    QFETCH(bool, centred);
    QFETCH(bool, border);
    QFETCH(QList<Change>, changes);

    QWidget window;
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    window.resize(731, 544);
    // An opaque label with text of its own behind the one that changes, as the grid lies
    // behind the product.
    Label behind(&window);
    behind.setGeometry(0, 181, 731, 347);
    behind.setFontSize(21.8);
    behind.setCentred(true);
    behind.setForeColor(grey(64));
    behind.setCaption(grid(9, 9));
    Label label(&window);
    label.setGeometry(0, 0, 731, 347);
    label.setTransparent(transparent);
    label.setCentred(centred);
    label.setBorder(border);
    label.setFontSize(points);
    label.setForeColor(grey(255));
    label.setCaption(QStringLiteral("4"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    for (const Change &change : changes) {
        if (!change.caption.isNull())
            label.setCaption(change.caption == QLatin1String(" ") ? QString() : change.caption);
        label.setForeColor(change.colour);
        QCoreApplication::processEvents();
    }

    const QImage onScreen = window.screen()
                                ->grabWindow(window.winId())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    const QImage repainted = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen.size(), repainted.size());
    // The screen was read back: at least the grid behind shows.
    QImage blank(onScreen.size(), QImage::Format_RGB32);
    blank.fill(Qt::black);
    QVERIFY(onScreen != blank);
    int differing = 0;
    for (int y = 0; y < repainted.height(); ++y)
        for (int x = 0; x < repainted.width(); ++x)
            differing += onScreen.pixel(x, y) != repainted.pixel(x, y);
    QCOMPARE(differing, 0);
}

QTEST_MAIN(TestLabelRepaint)
#include "TestLabelRepaint.moc"
