// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtPlatform.h"

#include "HeldInputEvent.h"
#include "Host.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTouchEvent>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <memory>

namespace {

// A pause is cut into slices this long, so that a close can end it.
constexpr auto SleepSlice = std::chrono::milliseconds(20);

// Holds back the input that reaches a window during a pause, and the held input posted to a widget
// (a screen reader's press), to hand them on at the next pump. A desktop delivers input only when
// the pause pumps; a browser delivers it at once, from its own callbacks, while the pause waits:
// the hold lasts the whole pause. A touch that no widget takes makes Qt send the mouse events it
// stands for, which are held: so it is left unhandled here, and not handed on itself.
class InputHold final : public QObject {
public:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const bool input = event->isInputEvent() && receiver->isWindowType();
        if (!input && event->type() != HeldInputEvent::eventType())
            return false;
        if (dynamic_cast<QTouchEvent *>(event)) {
            event->ignore();
            return true;
        }
        m_held.push_back({ receiver, std::unique_ptr<QEvent>(event->clone()) });
        return true;
    }

    // One at a time, oldest first: a handler that pumps events itself (as the digit pad's do)
    // hands on the rest from within, as the window system would deliver them there.
    void handOn()
    {
        while (!m_held.empty()) {
            auto [receiver, event] = std::move(m_held.front());
            m_held.pop_front();
            if (receiver)
                QCoreApplication::sendEvent(receiver, event.get());
        }
    }

private:
    std::deque<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
};

InputHold &inputHold()
{
    static InputHold hold;
    return hold;
}

bool anyWindowShown()
{
    const auto windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(), [](QWindow *w) { return w->isVisible(); });
}

}

QtPlatform::QtPlatform(Wait wait)
    : m_wait(wait ? std::move(wait) : Wait(Host::wait))
{
    bool ok = false;
    const auto seed = qEnvironmentVariable("CORVALLO_SEED").toUInt(&ok);
    if (ok)
        m_fixedSeed = seed;
    reseed();
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (m_timerHandler)
            m_timerHandler();
    });
}

void QtPlatform::doEvents()
{
    inputHold().handOn();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// The window does not react to input during a pause, but a pause at the slowest pace lasts
// seconds: a close from the window manager is taken between slices (Qt counts it as input, so
// input is held back by hand), and once no window is shown the pause ends, so that the program
// ends at once instead of after the pause.
void QtPlatform::sleep(std::chrono::milliseconds ms)
{
    struct Holding {
        Holding() { qApp->installEventFilter(&inputHold()); }
        ~Holding() { qApp->removeEventFilter(&inputHold()); }
    } const holding;
    const auto end = std::chrono::steady_clock::now() + ms;
    for (;;) {
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return;
        m_wait(std::min<std::chrono::steady_clock::duration>(left, SleepSlice));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!anyWindowShown())
            return;
    }
}

double QtPlatform::nextRandom()
{
    return std::generate_canonical<double, 53>(m_generator);
}

void QtPlatform::reseed()
{
    // A fixed seed still gives each lesson of a run its own sequence, in a repeatable way.
    if (m_fixedSeed) {
        m_generator.seed(*m_fixedSeed + m_reseeds++);
        return;
    }
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    m_generator.seed(static_cast<std::uint32_t>(now ^ (now >> 32)));
}

void QtPlatform::setTimerHandler(std::function<void()> handler)
{
    m_timerHandler = std::move(handler);
}

void QtPlatform::setTimerInterval(std::chrono::milliseconds interval)
{
    m_timer.setInterval(interval);
}

void QtPlatform::setTimerEnabled(bool enabled)
{
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

bool QtPlatform::isTimerEnabled() const
{
    return m_timer.isActive();
}
