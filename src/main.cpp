#include "CommandLine.h"
#include "Fonts.h"
#include "FormMain.h"
#include "Icon.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts when it finds no display; say so plainly instead.
bool hasDisplay()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}

int main(int argc, char *argv[])
{
    const CommandLine::Invocation invocation
        = CommandLine::interpret(std::vector<std::string>(argv + 1, argv + argc));
    switch (invocation.action) {
    case CommandLine::Invocation::Action::Help:
    case CommandLine::Invocation::Action::Version:
        std::fputs(invocation.message.c_str(), stdout);
        return EXIT_SUCCESS;
    case CommandLine::Invocation::Action::Refuse:
        std::fputs(invocation.message.c_str(), stderr);
        return 2;
    case CommandLine::Invocation::Action::Start:
        break;
    }
    // Level 0 chooses "Basta!" before the window is ever shown.
    if (invocation.level == 0)
        return EXIT_SUCCESS;
    if (!hasDisplay()) {
        std::fputs(
            "corvallo: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset)\n",
            stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvallo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvallo"));
    QApplication::setApplicationVersion(QStringLiteral(CORVALLO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("corvallo"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(corvalloIcon())));
    Fonts::registerTahoma();

    QtPlatform platform;
    FormMain form(platform);
    form.Form_Load(invocation.level);
    if (form.isUnloaded())
        return EXIT_SUCCESS;
    form.show();
    return application.exec();
}
