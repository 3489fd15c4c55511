// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"
#include "Label.h"
#include "Rgb.h"

#include <QBackingStore>
#include <QTest>

// A label repaints only the area of its text when its text or text colour changes. After any
// run of such changes the window on screen (the backing store that is flushed to the screen)
// must be exactly what a full repaint of the window draws. CTest runs this also at the scale
// factors of high-density screens, where the area's edges fall between device pixels.
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

// The product's place across the window; the other places are where the layout puts a factor, a
// key of the digit pad and the status line, at odd pixels that fall between device pixels at 150 %.
constexpr QRect Wide(0, 0, 731, 347);

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
    QTest::addColumn<QRect>("place");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<bool>("border");
    QTest::addColumn<QList<Change>>("changes");

    QList<Change> fade;
    for (int level = 15; level < 256; level += 16)
        fade.append({ {}, grey(level) });
    QTest::newRow("product fading in over the grid")
        << Wide << 200.0 << true << true << false
        << (QList<Change> { { QStringLiteral("81"), grey(63) } } + fade);
    QTest::newRow("question mark replaced by a wider product")
        << Wide << 163.5 << true << true << false
        << QList<Change> { { QStringLiteral("?"), grey(255) }, { QStringLiteral("72"), grey(63) },
               { {}, grey(255) } };
    QTest::newRow("wide factor replaced by a narrow one")
        << Wide << 144.67 << false << true << false
        << QList<Change> { { QStringLiteral("8"), grey(255) }, { QStringLiteral("1"), grey(15) } };
    QList<Change> rows;
    for (int row = 1; row <= 9; ++row)
        rows.append({ grid(row, 9), grey(255) });
    for (int level = 240; level >= 64; level -= 16)
        rows.append({ {}, grey(level) });
    rows.append({ grid(2, 3), grey(64) });
    QTest::newRow("grid drawn row by row, dimmed, then a smaller one")
        << Wide << 21.8 << false << true << false << rows;
    QTest::newRow("status line, left-aligned, shorter then longer")
        << Wide << 9.0 << true << false << false
        << QList<Change> { { QStringLiteral("Da fare: 64   Giusti: 10"), rgb(0, 128, 0) },
               { QStringLiteral("Giusti: 0"), rgb(0, 128, 0) },
               { QStringLiteral("Da fare: 3   Giusti: 61   Sbagliati: 12   Punti: 9000"),
                   rgb(0, 200, 0) } };
    QTest::newRow("bordered label lit and dimmed")
        << Wide << 48.0 << false << true << true
        << QList<Change> { { QStringLiteral("5"), rgb(128, 128, 255) }, { {}, rgb(0, 0, 255) } };
    QTest::newRow("text cleared while dark, colour written while empty")
        << Wide << 120.0 << false << true << false
        << QList<Change> { { QStringLiteral("9"), grey(255) }, { QString(), grey(0) },
               { QStringLiteral(" "), grey(255) } };
    QTest::newRow("factor at its place, replaced and cleared")
        << QRect(61, 0, 183, 181) << 144.67 << false << true << false
        << QList<Change> { { QStringLiteral("3"), grey(255) }, { QStringLiteral("7"), grey(128) },
               { QStringLiteral(" "), grey(0) } };
    QTest::newRow("key of the digit pad at its place, lit and dimmed")
        << QRect(439, 187, 93, 84) << 48.0 << false << true << true
        << QList<Change> { { {}, rgb(0, 0, 255) }, { {}, rgb(128, 128, 255) } };
    QTest::newRow("status line at its place, shorter then longer")
        << QRect(5, 528, 691, 16) << 9.0 << true << false << false
        << QList<Change> { { QStringLiteral("Rimanenti: 64         Giusti: 0"), rgb(0, 128, 0) },
               { QStringLiteral("Rimanenti: 3         Giusti: 61         Sbagliati: 12         "
                                "Punteggio: 9000"),
                   rgb(0, 128, 0) } };
}

void TestLabelRepaint::screenMatchesFullPaint()
{
    QFETCH(QRect, place);
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
    label.setGeometry(place);
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

    // Run at a scale factor, the window is drawn at that ratio, in device pixels.
    const double ratio = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
        ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
        : 1.0;
    QCOMPARE(window.devicePixelRatioF(), ratio);
    // What the screen shows is the backing store. (Qt 6.4's offscreen grab of a window is cut to
    // its size in logical pixels at a scale factor, so the store is read itself.)
    const auto *store = dynamic_cast<const QImage *>(window.backingStore()->paintDevice());
    QVERIFY(store);
    const QImage onScreen = store->convertToFormat(QImage::Format_RGB32);
    const QImage repainted = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen.size(), repainted.size());
    QCOMPARE(onScreen.size(), QSize(qRound(731 * ratio), qRound(544 * ratio)));
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
