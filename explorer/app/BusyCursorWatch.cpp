#include "explorer/app/BusyCursorWatch.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <chrono>

namespace qb::app {

BusyCursorWatch::BusyCursorWatch(std::unique_ptr<WaitCursorSurface> surface, bool runThread)
    : m_surface(std::move(surface))
{
    if (runThread && m_surface) {
        m_thread = std::thread([this] {
            while (!m_stop.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
                tick();
            }
        });
    }
}

BusyCursorWatch::~BusyCursorWatch()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    takeDown();
}

void BusyCursorWatch::install()
{
    if (!m_surface)
        return;
    QCoreApplication::instance()->installEventFilter(this);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &BusyCursorWatch::wentIdle);
}

bool BusyCursorWatch::eventFilter(QObject*, QEvent*)
{
    eventStarted();
    return false;
}

void BusyCursorWatch::eventStarted()
{
    m_ticks.store(kTicks);
    if (m_shown.load())
        takeDown();
}

void BusyCursorWatch::wentIdle()
{
    m_ticks.store(0);
    if (m_shown.load())
        takeDown();
    if (m_surface)
        m_surface->refreshWindows();
}

void BusyCursorWatch::tick()
{
    int ticks = m_ticks.load();
    if (ticks <= 0 || !m_ticks.compare_exchange_strong(ticks, ticks - 1) || ticks != 1)
        return;
    const std::lock_guard lock(m_mutex);
    // The GUI thread may have started the next event meanwhile; then it is not stuck.
    if (m_ticks.load() != 0 || m_shown.load())
        return;
    m_surface->showWait();
    m_shown = true;
}

void BusyCursorWatch::takeDown()
{
    const std::lock_guard lock(m_mutex);
    if (!m_shown.load())
        return;
    // Cleared first: what restoring sends through the event filter finds nothing to do.
    m_shown = false;
    m_surface->restore();
}

} // namespace qb::app
