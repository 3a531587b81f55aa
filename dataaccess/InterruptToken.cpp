#include "dataaccess/InterruptToken.h"

#include <algorithm>
#include <condition_variable>
#include <thread>

namespace qb::data {
namespace {

thread_local InterruptToken* t_armed = nullptr;

} // namespace

// Sends the cancel of interrupted calls again while they stay in flight. One thread for the
// process, started the first time it is needed; the object is never destroyed, so the thread may
// still wait here while the process exits. Lock order: this object's mutex, then a token's.
class CancelRetry {
public:
    static CancelRetry& instance()
    {
        static CancelRetry* const retry = new CancelRetry;
        return *retry;
    }

    void watch(InterruptToken* token)
    {
        std::lock_guard lock(m_mutex);
        if (std::find(m_tokens.begin(), m_tokens.end(), token) == m_tokens.end())
            m_tokens.push_back(token);
        if (!m_started) {
            std::thread([this] { run(); }).detach();
            m_started = true;
        }
        m_wake.notify_one();
    }

    void forget(InterruptToken* token)
    {
        std::lock_guard lock(m_mutex);
        m_tokens.erase(std::remove(m_tokens.begin(), m_tokens.end(), token), m_tokens.end());
    }

private:
    [[noreturn]] void run()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return !m_tokens.empty(); });
            // A token forgotten meanwhile is gone from the list when the wait returns.
            m_wake.wait_for(lock, InterruptToken::kCancelRetryPeriod);
            std::erase_if(m_tokens, [](InterruptToken* token) { return !token->cancelInFlight(); });
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<InterruptToken*> m_tokens;
    bool m_started = false;
};

ProviderError cancelledError()
{
    return ProviderError(DB_E_CANCELED, QStringLiteral("The operation was canceled."));
}

InterruptToken::~InterruptToken()
{
    if (m_watched.load(std::memory_order_acquire))
        CancelRetry::instance().forget(this);
}

void InterruptToken::interrupt()
{
    bool inFlight = false;
    {
        // Set under the lock, so a driver call registers either before (and is cancelled here)
        // or after (and sees the token set as it registers): none slips between the two.
        std::lock_guard lock(m_mutex);
        m_interrupted.store(true, std::memory_order_release);
        for (Cancellable* call : m_inFlight)
            call->cancel();
        inFlight = !m_inFlight.empty();
    }
    if (inFlight) {
        m_watched.store(true, std::memory_order_release);
        CancelRetry::instance().watch(this);
    }
}

bool InterruptToken::cancelInFlight()
{
    std::lock_guard lock(m_mutex);
    // Reset for a later run since: its calls are not ours to cancel.
    if (!isInterrupted())
        return false;
    for (Cancellable* call : m_inFlight)
        call->cancel();
    return !m_inFlight.empty();
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
