#include "console/script/StopSignal.h"

#include "dataaccess/Provider.h"

namespace qb::console {

void StopSignal::request()
{
    m_event.set();
    std::lock_guard lock(m_mutex);
    if (m_running)
        m_running->interrupt();
}

StopSignal::InterruptibleCall::InterruptibleCall(StopSignal& stop, data::Session& session) : m_stop(stop)
{
    std::lock_guard lock(m_stop.m_mutex);
    m_stop.m_running = &session;
}

StopSignal::InterruptibleCall::~InterruptibleCall()
{
    std::lock_guard lock(m_stop.m_mutex);
    m_stop.m_running = nullptr;
}

} // namespace qb::console
