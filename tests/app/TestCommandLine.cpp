// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <QProcess>
#include <QTest>

using CommandLine::LevelKind;

Q_DECLARE_METATYPE(LevelKind)

// The level on the command line, and how the program ends for each kind of text.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parseLevel_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<LevelKind>("kind");
        QTest::addColumn<int>("level");

        QTest::newRow("empty starts nothing") << QByteArray("") << LevelKind::Empty << 0;
        QTest::newRow("blanks only start nothing") << QByteArray(" \t ") << LevelKind::Empty << 0;
        QTest::newRow("plain 3") << QByteArray("3") << LevelKind::Level << 3;
        QTest::newRow("blanks around") << QByteArray("  4 ") << LevelKind::Level << 4;
        QTest::newRow("plus sign") << QByteArray("+5") << LevelKind::Level << 5;
        QTest::newRow("minus one") << QByteArray("-1") << LevelKind::Level << -1;
        QTest::newRow("seven passes through") << QByteArray("7") << LevelKind::Level << 7;
        QTest::newRow("two and a half to even 2") << QByteArray("2.5") << LevelKind::Level << 2;
        QTest::newRow("three and a half to even 4") << QByteArray("3.5") << LevelKind::Level << 4;
        QTest::newRow("just above a half rounds up")
            << QByteArray("2.5000000000000000000001") << LevelKind::Level << 3;
        QTest::newRow("just below a half rounds down")
            << QByteArray("3.4999999999999999999999") << LevelKind::Level << 3;
        QTest::newRow("minus two and a half") << QByteArray("-2.5") << LevelKind::Level << -2;
        QTest::newRow("leading point") << QByteArray(".6") << LevelKind::Level << 1;
        QTest::newRow("trailing point") << QByteArray("2.") << LevelKind::Level << 2;
        QTest::newRow("zero") << QByteArray("0") << LevelKind::Level << 0;
        QTest::newRow("a small negative rounds to zero")
            << QByteArray("-0.4") << LevelKind::Level << 0;
        QTest::newRow("leading zeros")
            << QByteArray("0000000000000000000003") << LevelKind::Level << 3;
        QTest::newRow("lowest 16-bit") << QByteArray("-32768") << LevelKind::Level << -32768;
        QTest::newRow("highest 16-bit") << QByteArray("32767.4") << LevelKind::Level << 32767;
        QTest::newRow("rounds out of range") << QByteArray("32767.5") << LevelKind::Invalid << 0;
        QTest::newRow("beyond the lowest") << QByteArray("-32769") << LevelKind::Invalid << 0;
        QTest::newRow("99999") << QByteArray("99999") << LevelKind::Invalid << 0;
        QTest::newRow("huge") << QByteArray(400, '9') << LevelKind::Invalid << 0;
        QTest::newRow("a word") << QByteArray("abc") << LevelKind::Invalid << 0;
        QTest::newRow("digits then a word") << QByteArray("3abc") << LevelKind::Invalid << 0;
        QTest::newRow("two numbers") << QByteArray("3 4") << LevelKind::Invalid << 0;
        QTest::newRow("a point alone") << QByteArray(".") << LevelKind::Invalid << 0;
        QTest::newRow("a sign alone") << QByteArray("-") << LevelKind::Invalid << 0;
        QTest::newRow("two signs") << QByteArray("--3") << LevelKind::Invalid << 0;
        QTest::newRow("two points") << QByteArray("1.2.3") << LevelKind::Invalid << 0;
        QTest::newRow("an embedded NUL") << QByteArray("3\0"
                                                       "1",
            3) << LevelKind::Invalid << 0;
        QTest::newRow("bytes that are not text")
            << QByteArray("\xff\xfe") << LevelKind::Invalid << 0;
    }

    void parseLevel()
    {
        QFETCH(QByteArray, text);
        QFETCH(LevelKind, kind);
        QFETCH(int, level);
        const auto parsed
            = CommandLine::parseLevel(std::string_view(text.constData(), text.size()));
        QCOMPARE(parsed.kind, kind);
        QCOMPARE(int(parsed.level), level);
    }

    void argumentsAreJoinedByBlanks()
    {
        const auto invocation = CommandLine::interpret({ " 3", "" });
        QCOMPARE(invocation.action, CommandLine::Invocation::Action::Start);
        QCOMPARE(invocation.level, std::optional<std::int16_t>(3));
        QCOMPARE(
            CommandLine::interpret({ "3", "4" }).action, CommandLine::Invocation::Action::Refuse);
        QCOMPARE(CommandLine::interpret({}).level, std::nullopt);
    }

    void refusalNamesTheTextSafely()
    {
        const auto invocation = CommandLine::interpret({ "a\x1b[2Jb" });
        QCOMPARE(invocation.action, CommandLine::Invocation::Action::Refuse);
        const QString message = QString::fromStdString(invocation.message);
        QVERIFY(message.contains(QStringLiteral("a\\x1B[2Jb")));
        QVERIFY(message.contains(QStringLiteral("1 to 5")));
        QCOMPARE(message.count('\n'), 1);
        QVERIFY(message.endsWith('\n'));
    }

    // The program itself, without a display: what ends before any window is needed. A first
    // argument DISPLAY=... sets that variable instead of being passed on.
    void exitStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        QTest::newRow("--help") << QStringList { "--help" } << 0 << "Usage: corvallo [LEVEL]"
                                << "";
        QTest::newRow("--version") << QStringList { "--version" } << 0 << "corvallo 1."
                                   << "";
        QTest::newRow("level 0 quits") << QStringList { "0" } << 0 << ""
                                       << "";
        QTest::newRow("a word is refused") << QStringList { "dieci" } << 2 << ""
                                           << "\"dieci\" is not a level";
        // Shown as the bytes of its UTF-8, as every system hands it over.
        QTest::newRow("an accented word is refused")
            << QStringList { QStringLiteral("citt\u00e0") } << 2 << ""
            << "\"citt\\xC3\\xA0\" is not a level";
        QTest::newRow("out of range is refused") << QStringList { "99999" } << 2 << ""
                                                 << "\"99999\" is not a level";
#if !defined(Q_OS_WIN)
        // Windows always has its desktop: there the program starts whatever these variables say,
        // which the real-window tests check.
        QTest::newRow("no display, no window") << QStringList { "3" } << 1 << ""
                                               << "no display";
        QTest::newRow("no display, menu") << QStringList {} << 1 << ""
                                          << "no display";
        QTest::newRow("a display that does not answer")
            << QStringList { "DISPLAY=:65000" } << 1 << ""
            << "cannot open the window: could not connect to display :65000";
#endif
    }

    void exitStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
            environment.remove(QString::fromLatin1(name));
        if (!arguments.isEmpty() && arguments.front().startsWith(QLatin1String("DISPLAY=")))
            environment.insert(QStringLiteral("DISPLAY"), arguments.takeFirst().mid(8));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(CORVALLO_BIN), arguments);
        if (!process.waitForStarted(10000) && process.error() == QProcess::FailedToStart) {
#if !defined(Q_OS_WIN)
            // Under qemu's user-mode emulation Qt 6.4.2 starts no process at all ("fork failure:
            // Invalid argument"): the emulator refuses the way Qt forks. Then nothing here can run.
            // Windows, and Wine, start every process that exists.
            QProcess probe;
            probe.start(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), QStringLiteral("exit 0") });
            if (!probe.waitForStarted(10000))
                QSKIP(qPrintable(QStringLiteral("no process can be started here: ")
                                 + probe.errorString()));
#endif
            QFAIL(qPrintable(QStringLiteral("the program did not start: ") + process.errorString()));
        }
        QVERIFY2(process.waitForFinished(10000), qPrintable(process.errorString()));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), status);
        const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(process.readAllStandardError());
        if (out.isEmpty())
            QCOMPARE(stdOut, QString());
        else
            QVERIFY2(stdOut.startsWith(out), qPrintable(stdOut));
        if (err.isEmpty()) {
            QCOMPARE(stdErr, QString());
        } else {
            QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
            QCOMPARE(stdErr.count('\n'), 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
