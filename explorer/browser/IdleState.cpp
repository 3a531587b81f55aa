#include "explorer/browser/IdleState.h"

#include "explorer/browser/LoaderJobToken.h"

namespace qb::browser {

bool IdleState::claimFor(const LoaderJobToken& job)
{
    for (;;) {
        if (job.stopRequested() || job.abandoned())
            return false;
        if (!m_idle.wait(kWaitSlice))
            continue;
        std::lock_guard<std::mutex> guard(m_transition);
        if (job.abandoned())
            return false;
        if (m_idle.isSet()) {
            m_idle.reset();
            return true;
        }
    }
}

void IdleState::releaseFor(const LoaderJobToken& job)
{
    std::lock_guard<std::mutex> guard(m_transition);
    if (!job.abandoned())
        m_idle.set();
}

void IdleState::abandon(LoaderJobToken& job)
{
    std::lock_guard<std::mutex> guard(m_transition);
    job.abandon();
    m_idle.set();
}

} // namespace qb::browser
