// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Fonts.h"
#include "FormControls.h"
#include "FormMain.h"
#include "Frame.h"
#include "Label.h"
#include "QtPlatform.h"
#include "Rgb.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Measures one animation step as a lesson takes it on the real event queue: a colour write,
// then one pump, without the pause. Run it by hand on the platform to measure, e.g.
// QT_QPA_PLATFORM=offscreen bench_animation_step, or under an X server.
namespace {

constexpr int Steps = 2000;

struct Figures {
    double first;
    double median;
    double p99;
    double max;
};

// Microseconds per step; the first step of a run is reported apart, the rest as a distribution.
Figures measure(const std::function<void(int)> &step)
{
    std::vector<double> micros;
    micros.reserve(Steps);
    QElapsedTimer timer;
    for (int i = 0; i < Steps; ++i) {
        timer.start();
        step(i);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        micros.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    const double first = micros.front();
    micros.erase(micros.begin());
    std::sort(micros.begin(), micros.end());
    const auto at = [&micros](double q) {
        return micros[std::min(micros.size() - 1, std::size_t(q * double(micros.size())))];
    };
    return { first, at(0.5), at(0.99), micros.back() };
}

void report(const char *what, const Figures &f)
{
    std::printf("%-34s first %8.1f us   median %8.1f us   p99 %8.1f us   max %8.1f us\n", what,
        f.first, f.median, f.p99, f.max);
}

// A grey that differs from the one before, so that every step really changes the colour.
int levelOf(int i)
{
    return (i * 16 + 15) % 256;
}

}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    Fonts::registerTahoma();
    QtPlatform platform;
    FormMain form(platform);
    form.Form_Load(std::nullopt);
    form.show();
    QElapsedTimer waited;
    waited.start();
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const FormControls &c = form.controls();
    c.FrameLevel->setVisible(false);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);

    std::printf("platform %s, window %dx%d px, %d steps each\n",
        qPrintable(QGuiApplication::platformName()), form.width(), form.height(), Steps);

    report("empty pump", measure([](int) {}));

    // The product fading in over the resting grid, at the size of the largest products.
    c.LabelP->setCaption(QStringLiteral(" O  O  O  O  O  O  O  O  O \r\n").repeated(9));
    c.LabelP->setForeColor(grey(64));
    c.LabelR->setFontSize(200);
    c.LabelR->setCaption(QStringLiteral("81"));
    report("product at 200 pt over the grid",
        measure([&c](int i) { c.LabelR->setForeColor(grey(levelOf(i))); }));

    // A factor at 200 pt in its own label.
    c.LabelR->setCaption(QString());
    c.Label1->setFontSize(200);
    c.Label1->setCaption(QStringLiteral("9"));
    report("factor at 200 pt", measure([&c](int i) { c.Label1->setForeColor(grey(levelOf(i))); }));

    // The 9 x 9 grid dimming, at the size the layout gives it.
    report("9x9 grid dimming", measure([&c](int i) { c.LabelP->setForeColor(grey(levelOf(i))); }));

    // A row appended to the grid, as while it is drawn.
    const QString row = QStringLiteral(" O  O  O  O  O  O  O  O  O \r\n");
    report("9x9 grid, one row appended",
        measure([&c, &row](int i) { c.LabelP->setCaption(row.repeated(i % 9 + 1)); }));
    return 0;
}
