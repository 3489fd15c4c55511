// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A bare Qt Widgets window: black, 731 x 544 pixels, one bordered label where the level menu
// puts "Livello 1", so that the probe reads the same pixels in both programs.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, QColor(192, 255, 192));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.resize(731, 544);

    QLabel label(QStringLiteral("Livello 1"), &window);
    label.setFrameShape(QFrame::Box);
    label.setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    label.setGeometry(235, 89, 263, 54);

    // In a browser the page is the screen, and the window fills it, as the program's does.
    if (QGuiApplication::platformName() == QLatin1String("wasm"))
        window.showFullScreen();
    else
        window.show();
    return application.exec();
}
