#include "QtPlatform.h"

#include <QCoreApplication>
#include <thread>

QtPlatform::QtPlatform()
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
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::sleep(std::chrono::milliseconds ms)
{
    if (ms.count() > 0)
        std::this_thread::sleep_for(ms);
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
