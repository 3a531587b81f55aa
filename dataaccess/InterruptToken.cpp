#include "dataaccess/InterruptToken.h"

#include <algorithm>

namespace qb::data {
namespace {

thread_local InterruptToken* t_armed = nullptr;

} // namespace

ProviderError cancelledError()
{
    return ProviderError(DB_E_CANCELED, QStringLiteral("The operation was canceled."));
}

void InterruptToken::interrupt()
{
    // Set under the lock, so a driver call registers either before (and is cancelled here) or
    // after (and sees the token set as it registers): none slips between the two.
    std::lock_guard lock(m_mutex);
    m_interrupted.store(true, std::memory_order_release);
    for (Cancellable* call : m_inFlight)
        call->cancel();
}

InterruptToken::Armed::Armed(InterruptToken& token) : m_previous(t_armed)
{
    t_armed = &token;
}

InterruptToken::Armed::~Armed()
{
    t_armed = m_previous;
}

void InterruptToken::checkArmed()
{
    if (armedInterrupted())
        throw cancelledError();
}

bool InterruptToken::armedInterrupted()
{
    const InterruptToken* token = t_armed;
    return token && token->isInterrupted();
}

InterruptToken::DriverCall::DriverCall(Cancellable& call) : m_token(t_armed), m_call(call)
{
    if (!m_token)
        return;
    std::lock_guard lock(m_token->m_mutex);
    if (m_token->isInterrupted())
        throw cancelledError();
    m_token->m_inFlight.push_back(&m_call);
}

InterruptToken::DriverCall::~DriverCall()
{
    if (!m_token)
        return;
    std::lock_guard lock(m_token->m_mutex);
    auto& calls = m_token->m_inFlight;
    calls.erase(std::find(calls.begin(), calls.end(), &m_call));
}

} // namespace qb::data
