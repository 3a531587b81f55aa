#include "platform/Event.h"

namespace qb {

void Event::set()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_cond.notify_all();
}

void Event::reset()
{
    std::lock_guard lock(m_mutex);
    m_signalled = false;
}

bool Event::isSet() const
{
    std::lock_guard lock(m_mutex);
    return m_signalled;
}

bool Event::wait(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_cond.wait_for(lock, timeout, [this] { return m_signalled; });
}

void Event::wait() const
{
    std::unique_lock lock(m_mutex);
    m_cond.wait(lock, [this] { return m_signalled; });
}

} // namespace qb
