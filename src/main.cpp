// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"
#include "Fonts.h"
#include "FormMain.h"
#include "Host.h"
#include "Icon.h"
#include "KeyRepeat.h"
#include "LabelAccessible.h"
#include "PageWindow.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <tuple>

// GCC says it builds with AddressSanitizer by a macro, clang by a feature.
#if defined(__SANITIZE_ADDRESS__)
#define CORVALLO_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVALLO_ASAN 1
#endif
#endif
#if defined(CORVALLO_ASAN)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

QtMessageHandler qtHandler = nullptr;
QList<std::tuple<QtMsgType, QString>> startMessages;

// While the application starts, a fatal message means the display cannot be opened: say so in
// one line and end, instead of aborting with a core dump. What Qt says before that is held back,
// and passed on once the start has succeeded.
void holdStartMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg) {
        startMessages.append({ type, message });
        return;
    }
    QString cause = message.section('\n', 0, 0);
    for (const auto &[heldType, held] : std::as_const(startMessages))
        if (held.contains(QLatin1String("could not connect to display")))
            cause = held;
    std::fprintf(stderr, "corvallo: cannot open the window: %s\n", qPrintable(cause));
    std::_Exit(1);
}

// The program's end with this status, told to whoever started it where it asks to be told.
int end(int status)
{
    Host::ended(status);
    return status;
}

}

int main(int argc, char *argv[])
{
    const CommandLine::Invocation invocation
        = CommandLine::interpret(Host::arguments(argc, argv));
    switch (invocation.action) {
    case CommandLine::Invocation::Action::Help:
    case CommandLine::Invocation::Action::Version:
        Host::tell(Host::Stream::Output, invocation.message);
        return end(EXIT_SUCCESS);
    case CommandLine::Invocation::Action::Refuse:
        Host::tell(Host::Stream::Error, invocation.message);
        return end(2);
    case CommandLine::Invocation::Action::Start:
        break;
    }
    // Level 0 chooses "Basta!" before the window is ever shown.
    if (invocation.level == 0)
        return end(EXIT_SUCCESS);
    // Qt aborts when it finds no display; say so plainly instead.
    if (!Host::hasDisplay()) {
        Host::tell(Host::Stream::Error,
            "corvallo: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)\n");
        return 1;
    }
    const Host::FineTimers fineTimers;

    qtHandler = qInstallMessageHandler(holdStartMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtHandler);
    for (const auto &[type, message] : std::as_const(startMessages)) {
        switch (type) {
        case QtDebugMsg:
            qDebug("%s", qPrintable(message));
            break;
        case QtInfoMsg:
            qInfo("%s", qPrintable(message));
            break;
        case QtWarningMsg:
            qWarning("%s", qPrintable(message));
            break;
        case QtCriticalMsg:
            qCritical("%s", qPrintable(message));
            break;
        case QtFatalMsg:
            break;
        }
    }
    QApplication::setApplicationName(QStringLiteral("corvallo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvallo"));
    QApplication::setApplicationVersion(QStringLiteral(CORVALLO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("corvallo"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(corvalloIcon())));
    Fonts::registerTahoma();
    makeKeyRepeatDetectable();
    LabelAccessible::installFactory();

    int status = EXIT_SUCCESS;
    {
        QtPlatform platform;
        // Where the window fills the screen (a browser's page, of any shape), the form sits in a
        // page of its own at the design's proportions.
        std::unique_ptr<PageWindow> page;
        if (Host::fillsScreen())
            page = std::make_unique<PageWindow>();
        FormMain form(platform, page.get());
        form.Form_Load(invocation.level);
        if (form.isUnloaded())
            return end(EXIT_SUCCESS);
        // In a browser the loop below may never return: the page learns of the end as the window
        // goes.
        QObject::connect(&application, &QGuiApplication::lastWindowClosed, [] { Host::ended(0); });
        if (page) {
            page->hold(form);
            // The page's only window takes the keys at once, before anything is clicked.
            page->showFullScreen();
            page->activateWindow();
            form.setFocus();
        } else
            form.show();
        status = application.exec();
    }
    Host::ended(status);
    // Qt can hang for ever as it takes its Wayland connection down: one of its event threads
    // waits for a read that the other, already stopped, will never finish. Measured under sway,
    // 20 closes each: 4 hung with Qt 6.4.2, 2 with 6.8.2 (none in another 20), 2 with 6.11.2.
    // Nothing is left to save or release that the system does not take back, so end here.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
#if defined(CORVALLO_ASAN)
        // The leak check would otherwise run at exit, which this skips.
        __lsan_do_leak_check();
#endif
        std::_Exit(status);
    }
    return status;
}
