#include "common/WorkerThreadContext.h"

namespace qb {

void WorkerThreadContext::setInterruptHook(std::function<void()> hook)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_kill.isSet()) {
            m_hook = std::move(hook);
            return;
        }
    }
    if (hook)
        hook();
}

void WorkerThreadContext::clearInterruptHook()
{
    std::function<void()> dropped; // destroyed outside the lock
    std::lock_guard lock(m_mutex);
    dropped = std::move(m_hook);
    m_hook = nullptr;
}

void WorkerThreadContext::requestKill()
{
    std::function<void()> hook;
    {
        std::lock_guard lock(m_mutex);
        m_kill.set();
        hook = m_hook;
    }
    try {
        if (hook)
            hook();
    } catch (...) {
        // Stopping goes on regardless; the wait that follows decides what happens to the job.
    }
}

} // namespace qb
