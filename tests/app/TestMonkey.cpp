// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakePlatform.h"
#include "FormControls.h"
#include "FormMain.h"
#include "FormState.h"
#include "Frame.h"
#include "Label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>

using namespace std::chrono_literals;

namespace {

constexpr int MaxScorePerAnswer = 149;
// After a stop, the lesson's own pumps until it has returned: the "?" still fading, one tick of
// the answer wait, "Tempo!" shown and taken down, one step of the product, the driver's pump.
constexpr int PumpsAfterStop = 8;
constexpr auto TimeAfterStop = 2000ms;

// Keys the window gets from a keypad with NumLock on and off, the main row and elsewhere.
constexpr Qt::Key NumLockOff[10] = { Qt::Key_Insert, Qt::Key_End, Qt::Key_Down, Qt::Key_PageDown,
    Qt::Key_Left, Qt::Key_Clear, Qt::Key_Right, Qt::Key_Home, Qt::Key_Up, Qt::Key_PageUp };
constexpr Qt::Key OtherKeys[] = { Qt::Key_A, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape,
    Qt::Key_Enter, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Period, Qt::Key_Tab, Qt::Key_F1,
    Qt::Key_Backspace, Qt::Key_NumLock, Qt::Key_Left, Qt::Key_Home };

// Qt's complaints are faults too, except the offscreen platform's about raising the window.
QStringList qtComplaints;
void collectComplaints(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && !message.contains(QLatin1String("raise()")))
        qtComplaints << message;
    if (type == QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

}

// A child at the keyboard and mouse, seeded, on the virtual clock and the real window objects:
// clicks wherever the labels are and where nothing is, keys of every kind, held keys, double
// clicks, resizes and closes, at random pumps of the lessons and in the menu. After every event
// and every pump it checks what must always hold. A failure names its seed;
// CORVALLO_MONKEY_SEED replays one seed and CORVALLO_MONKEY_HOURS sets the virtual play time.
class TestMonkey : public QObject {
    Q_OBJECT

private:
    std::mt19937 rng;
    unsigned seed = 0;
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<FormMain> form;
    std::chrono::milliseconds clockBase { 0 }; // virtual time of the sessions before this one
    std::chrono::milliseconds playTime { 0 };
    QString failure;
    std::deque<QString> recent;

    int lessons = 0; // Timer_Timer frames on the stack
    int eventDepth = 0; // monkey events on the stack
    std::chrono::milliseconds armedAt { -1 };
    std::optional<std::chrono::milliseconds> stopAt;
    int pumpsSinceStop = 0;
    std::deque<int> digitsToGive;
    bool padWasShown = false;
    std::vector<Key> held;

    // Figures of the run.
    long long events = 0, pumps = 0, lessonsRun = 0, sessions = 0, stops = 0, closes = 0,
              resizes = 0, answers = 0, completed = 0;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng); }
    std::chrono::milliseconds virtualNow() const { return clockBase + platform->now; }
    const FormControls &c() const { return form->controls(); }
    FormState &s() { return form->state(); }

    void note(const QString &event)
    {
        ++events;
        recent.push_back(QStringLiteral("%1 ms: %2").arg(virtualNow().count()).arg(event));
        if (recent.size() > 12)
            recent.pop_front();
    }

    void fail(const QString &what)
    {
        if (!failure.isEmpty())
            return;
        QStringList lines {
            QStringLiteral("seed %1 (replay with CORVALLO_MONKEY_SEED=%1): %2").arg(seed).arg(what),
            QStringLiteral("last events:")
        };
        for (const QString &line : recent)
            lines << QStringLiteral("  ") + line;
        failure = lines.join('\n');
        // Let the lesson end so that the failure can be reported.
        if (form)
            s().StopRequested = true;
    }

    // What must hold whenever the monkey can look.
    void checkInvariants()
    {
        const FormState &state = form->state();
        if (lessons > 1)
            fail(QStringLiteral("two lessons at once"));
        if (lessons == 0 && state.Running)
            fail(QStringLiteral("Running with no lesson"));
        if (!c().FrameNum->isHidden()
            && !(lessons == 1 && state.QuizMode && c().LabelR->caption() == QLatin1String("?")
                && c().LabelM->isHidden()))
            fail(QStringLiteral("the digit pad is shown while no answer is read"));
        if (state.RightCount < 0 || state.WrongCount < 0 || state.Score < 0
            || std::int64_t { state.Score } > std::int64_t { MaxScorePerAnswer } * state.RightCount)
            fail(QStringLiteral("counters out of range: right %1, wrong %2, score %3")
                     .arg(state.RightCount)
                     .arg(state.WrongCount)
                     .arg(state.Score));
        if ((lessons == 1 && state.Level >= 3) || !c().LabelG->isHidden()) {
            // "Rimanenti: N " and the rest of the line.
            const QString caption = c().LabelG->caption();
            const QLatin1String label("Rimanenti: ");
            const qsizetype end = caption.indexOf(QLatin1Char(' '), label.size());
            bool number = false;
            const int shown = caption.startsWith(label) && end > label.size()
                ? caption.mid(label.size(), end - label.size()).toInt(&number)
                : 0;
            if (!number || shown != form->pool().count())
                fail(QStringLiteral("status line \"%1\" with %2 questions in the pool")
                         .arg(c().LabelG->caption())
                         .arg(form->pool().count()));
        }
        for (QWidget *widget : form->findChildren<QWidget *>()) {
            if (widget->width() < 0 || widget->height() < 0)
                fail(QStringLiteral("negative size of %1").arg(widget->objectName()));
        }
        for (Label *label : form->findChildren<Label *>()) {
            if (label->widthTwips() < 0 || label->heightTwips() < 0 || label->fontSize() < 0)
                fail(QStringLiteral("label \"%1\" with a negative size").arg(label->caption()));
        }
    }

    void afterPump()
    {
        ++pumps;
        if (lessons > 1)
            fail(QStringLiteral("a second lesson pumps inside the first"));
        if (stopAt && eventDepth == 0 && lessons > 0) {
            ++pumpsSinceStop;
            if (pumpsSinceStop > PumpsAfterStop || virtualNow() - *stopAt > TimeAfterStop)
                fail(QStringLiteral("the lesson goes on %1 pumps and %2 ms after the stop")
                         .arg(pumpsSinceStop)
                         .arg((virtualNow() - *stopAt).count()));
        }
        if (pumpsSinceStop > 100000) {
            std::fprintf(stderr, "%s\n", qPrintable(failure));
            std::abort(); // a lesson that never returns
        }
        checkInvariants();
        if (!qtComplaints.isEmpty())
            fail(QStringLiteral("Qt complains: ") + qtComplaints.join(QStringLiteral("; ")));
        if (!failure.isEmpty() || form->isUnloaded())
            return;
        watchStop();
        if (virtualNow() >= playTime && eventDepth == 0) {
            // Play is over: the window is closed in the middle of whatever runs.
            note(QStringLiteral("close at the end of play"));
            form->close();
            return;
        }
        fireTimerIfDue();
        answerLikeAChild();
        if (eventDepth < 2 && chance(eventDepth == 0 ? 0.012 : 0.01))
            randomEvent();
    }

    void watchStop()
    {
        if (s().StopRequested && lessons > 0 && !stopAt) {
            ++stops;
            stopAt = virtualNow();
            pumpsSinceStop = 0;
        }
    }

    // Qt's timer fires inside whatever pumps the events, a lesson included.
    void fireTimerIfDue()
    {
        if (!platform->isTimerEnabled()) {
            armedAt = -1ms;
            return;
        }
        if (armedAt < 0ms)
            armedAt = platform->now;
        if (platform->now >= armedAt + platform->timerInterval) {
            note(QStringLiteral("timer"));
            armedAt = -1ms;
            platform->fireTimer();
        }
    }

    void timerTick()
    {
        if (lessons == 0) {
            // The pool's order comes from the seed too.
            for (int i = 0; i < 200; ++i)
                platform->randoms.push_back(std::generate_canonical<double, 32>(rng));
        }
        const bool nested = lessons > 0;
        ++lessons;
        ++lessonsRun;
        form->Timer_Timer();
        --lessons;
        if (nested && !s().Running)
            fail(QStringLiteral("a tick inside a lesson ended the running lesson"));
        if (!nested) {
            if (!stopAt)
                ++completed;
            stopAt.reset();
            pumpsSinceStop = 0;
            checkMenuIsBack();
        }
    }

    void checkMenuIsBack()
    {
        if (s().Running)
            fail(QStringLiteral("still Running after the lesson returned"));
        if (!c().FrameNum->isHidden())
            fail(QStringLiteral("the digit pad stays up after the lesson"));
        for (Label *label : c().questionLabels())
            if (!label->caption().isEmpty())
                fail(QStringLiteral("\"%1\" stays up after the lesson").arg(label->caption()));
        // A level chosen during the lesson hides the menu again and arms its own lesson.
        if (c().FrameLevel->isHidden() && !platform->isTimerEnabled() && !form->isUnloaded())
            fail(QStringLiteral("no menu after the lesson"));
    }

    // Sometimes the child knows the product, sometimes not, sometimes gives nothing.
    void answerLikeAChild()
    {
        const bool padShown = !c().FrameNum->isHidden();
        if (padShown && !padWasShown) {
            digitsToGive.clear();
            const int product = c().Label1->caption().toInt() * c().Label2->caption().toInt();
            const int answer = chance(0.6) ? product : chance(0.7) ? pick(100) : -1;
            if (answer >= 0) {
                if (product > 9)
                    digitsToGive.push_back(answer / 10 % 10);
                digitsToGive.push_back(answer % 10);
            }
        }
        padWasShown = padShown;
        if (!padShown || digitsToGive.empty() || eventDepth > 0 || !chance(0.2))
            return;
        const int digit = digitsToGive.front();
        digitsToGive.pop_front();
        ++answers;
        if (chance(0.5))
            clickAt(centreOf(c().LabelDigit[digit]), Qt::LeftButton, QStringLiteral("answer"));
        else
            typeKey({ Qt::Key(Qt::Key_0 + digit), Qt::KeypadModifier });
    }

    QPoint centreOf(const QWidget *widget) const
    {
        return widget->mapTo(form.get(), widget->rect().center());
    }

    // A press goes to the topmost widget under the pointer, the release to the same widget.
    void mouse(QEvent::Type type, QWidget *target, QPoint at, Qt::MouseButton button)
    {
        const QPoint local = target->mapFrom(form.get(), at);
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    QWidget *widgetAt(QPoint at)
    {
        QWidget *child = form->childAt(at);
        return child ? child : form.get();
    }

    void clickAt(QPoint at, Qt::MouseButton button, const QString &what)
    {
        note(QStringLiteral("%1 click at %2,%3").arg(what).arg(at.x()).arg(at.y()));
        QPointer<QWidget> target = widgetAt(at);
        mouse(QEvent::MouseButtonPress, target, at, button);
        if (target && !form->isUnloaded())
            mouse(QEvent::MouseButtonRelease, target, at, button);
    }

    void doubleClickAt(QPoint at)
    {
        note(QStringLiteral("double click at %1,%2").arg(at.x()).arg(at.y()));
        QPointer<QWidget> target = widgetAt(at);
        for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                 QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease }) {
            if (!target || form->isUnloaded())
                return;
            mouse(type, target, at, Qt::LeftButton);
        }
    }

    void sendKey(QEvent::Type type, Key key, bool autoRepeat)
    {
        QKeyEvent event(type, key.key, key.modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(form.get(), &event);
    }

    void typeKey(Key key)
    {
        note(QStringLiteral("key %1 modifiers %2")
                 .arg(key.key, 0, 16)
                 .arg(key.modifiers.toInt(), 0, 16));
        sendKey(QEvent::KeyPress, key, false);
        if (!form->isUnloaded())
            sendKey(QEvent::KeyRelease, key, false);
    }

    Key randomKey()
    {
        const Qt::KeyboardModifiers extra = chance(0.1) ? Qt::ShiftModifier
            : chance(0.05)                              ? Qt::ControlModifier
                                                        : Qt::NoModifier;
        switch (pick(4)) {
        case 0:
            return { Qt::Key(Qt::Key_0 + pick(10)), Qt::KeypadModifier | extra };
        case 1:
            return { NumLockOff[pick(10)], Qt::KeypadModifier | extra };
        case 2:
            return { Qt::Key(Qt::Key_0 + pick(10)), extra };
        default:
            return { OtherKeys[pick(std::size(OtherKeys))], extra };
        }
    }

    QPoint randomLabelCentre()
    {
        const auto labels = form->findChildren<Label *>();
        return centreOf(labels[pick(labels.size())]);
    }

    void randomEvent()
    {
        ++eventDepth;
        const int kind = pick(100);
        if (kind < 35) {
            clickAt(randomLabelCentre(), chance(0.9) ? Qt::LeftButton : Qt::RightButton,
                QStringLiteral("label"));
        } else if (kind < 45) {
            clickAt(QPoint(pick(std::max(1, form->width())), pick(std::max(1, form->height()))),
                Qt::LeftButton, QStringLiteral("anywhere"));
        } else if (kind < 50) {
            doubleClickAt(randomLabelCentre());
        } else if (kind < 53) {
            // Pressed on one label, let go over another: no click.
            const QPoint from = randomLabelCentre();
            const QPoint to = randomLabelCentre();
            note(QStringLiteral("drag from %1,%2").arg(from.x()).arg(from.y()));
            QPointer<QWidget> target = widgetAt(from);
            mouse(QEvent::MouseButtonPress, target, from, Qt::LeftButton);
            if (target && !form->isUnloaded())
                mouse(QEvent::MouseButtonRelease, target, to, Qt::LeftButton);
        } else if (kind < 75) {
            typeKey(randomKey());
        } else if (kind < 85) {
            // Held down: the first press now, auto-repeat pairs at later pumps, then the release.
            const Key key = randomKey();
            note(QStringLiteral("hold key %1").arg(key.key, 0, 16));
            sendKey(QEvent::KeyPress, key, false);
            held.push_back(key);
        } else if (kind < 95 && !held.empty()) {
            const Key key = held.front();
            for (int i = pick(4); i > 0 && !form->isUnloaded(); --i) {
                sendKey(QEvent::KeyRelease, key, true);
                sendKey(QEvent::KeyPress, key, true);
            }
            note(QStringLiteral("release key %1").arg(key.key, 0, 16));
            held.erase(held.begin());
            if (!form->isUnloaded())
                sendKey(QEvent::KeyRelease, key, false);
        } else if (kind < 99) {
            randomResize();
        } else {
            note(QStringLiteral("close"));
            ++closes;
            form->close();
        }
        --eventDepth;
    }

    void randomResize()
    {
        ++resizes;
        const int extreme = pick(4);
        const QSize size = extreme == 0 ? QSize(1, 1)
            : extreme == 1              ? QSize(2000, 1500)
                                        : QSize(1 + pick(2000), 1 + pick(1500));
        note(QStringLiteral("resize to %1x%2").arg(size.width()).arg(size.height()));
        form->resize(size);
        if (form->size() != size)
            fail(QStringLiteral("the window did not take the size %1x%2")
                     .arg(size.width())
                     .arg(size.height()));
    }

    void newSession()
    {
        ++sessions;
        if (platform)
            clockBase += platform->now;
        form.reset();
        platform = std::make_unique<FakePlatform>();
        form = std::make_unique<FormMain>(*platform);
        // Every tick goes through here, so the monkey sees lessons start and end.
        platform->setTimerHandler([this] { timerTick(); });
        platform->afterPump = [this] { afterPump(); };
        armedAt = -1ms;
        stopAt.reset();
        held.clear();
        digitsToGive.clear();
        padWasShown = false;
        form->Form_Load(std::nullopt);
        form->show();
    }

    // Outside a lesson: mostly a level is chosen, sometimes anything else happens first.
    void idleStep()
    {
        if (platform->isTimerEnabled()) {
            if (armedAt < 0ms)
                armedAt = platform->now;
            platform->now += std::chrono::milliseconds(pick(1200));
            if (chance(0.1))
                randomEvent();
            else
                fireTimerIfDue();
            return;
        }
        platform->now += std::chrono::milliseconds(pick(3000));
        if (chance(0.7) && !c().FrameLevel->isHidden()) {
            const int index = chance(0.02) ? 0 : 1 + pick(5);
            ++eventDepth;
            clickAt(centreOf(c().LabelLevel[index]), Qt::LeftButton, QStringLiteral("level"));
            --eventDepth;
        } else {
            randomEvent();
        }
        checkInvariants();
    }

    void play(unsigned runSeed, std::chrono::milliseconds time)
    {
        seed = runSeed;
        playTime = time;
        rng.seed(seed);
        failure.clear();
        recent.clear();
        clockBase = 0ms;
        platform.reset();
        newSession();
        while (failure.isEmpty() && virtualNow() < playTime) {
            if (form->isUnloaded()) {
                // The program has ended; a new one starts.
                if (platform->isTimerEnabled())
                    fail(QStringLiteral("the timer still runs after the window was closed"));
                newSession();
            }
            idleStep();
        }
        if (platform)
            clockBase += platform->now;
        form.reset();
        platform.reset();
    }

private slots:
    void lessonsSurviveAChild_data()
    {
        QTest::addColumn<unsigned>("runSeed");
        QTest::addColumn<double>("minutes");
        const double hours = qEnvironmentVariable("CORVALLO_MONKEY_HOURS").toDouble();
        bool replay = false;
        const unsigned only = qEnvironmentVariable("CORVALLO_MONKEY_SEED").toUInt(&replay);
        if (replay) {
            QTest::addRow("seed %u", only) << only << (hours > 0 ? hours * 60 : 60.0);
            return;
        }
        for (unsigned runSeed : { 1u, 2u, 3u, 4u, 5u, 6u })
            QTest::addRow("seed %u", runSeed) << runSeed << (hours > 0 ? hours * 60 : 60.0);
    }

    void lessonsSurviveAChild()
    {
        QFETCH(unsigned, runSeed);
        QFETCH(double, minutes);
        events = pumps = lessonsRun = sessions = stops = closes = resizes = answers = completed = 0;
        qtComplaints.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectComplaints);
        play(runSeed, std::chrono::milliseconds(static_cast<long long>(minutes * 60'000)));
        qInstallMessageHandler(previous);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        qInfo("seed %u: %.2f virtual hours, %lld events, %lld pumps, %lld lesson starts, %lld "
              "ended by themselves, %lld sessions, %lld stops, %lld resizes, %lld closes, %lld "
              "digits given",
            runSeed, clockBase.count() / 3.6e6, events, pumps, lessonsRun, completed, sessions,
            stops, resizes, closes, answers);
        // The run played what it was meant to: lessons were started and ended again and again.
        QVERIFY(lessonsRun > 2);
        QVERIFY(completed > 0);
        QVERIFY(sessions > 0);
    }
};

QTEST_MAIN(TestMonkey)
#include "TestMonkey.moc"
