// The interrupt token's cancel of a driver call in flight, with a call that stands for a driver
// whose server drops a cancel sent just before it starts the work.
#include "dataaccess/InterruptToken.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace qb::data {
namespace {

// Loses its first cancel, as a server does that has not started the query yet; ends the call at
// the second. Records a cancel that arrives when no call is in flight.
class LossyCall : public InterruptToken::Cancellable {
public:
    void cancel() override
    {
        std::lock_guard lock(m_mutex);
        if (!m_inCall)
            m_cancelOutsideCall = true;
        if (++m_cancels >= 2)
            m_done.notify_all();
    }
    void enter()
    {
        std::lock_guard lock(m_mutex);
        m_inCall = true;
    }
    // The "driver call": returns once a cancel got through.
    bool waitUntilCancelled()
    {
        std::unique_lock lock(m_mutex);
        return m_done.wait_for(lock, std::chrono::seconds(30), [this] { return m_cancels >= 2; });
    }
    void leave()
    {
        std::lock_guard lock(m_mutex);
        m_inCall = false;
    }
    int cancels()
    {
        std::lock_guard lock(m_mutex);
        return m_cancels;
    }
    bool cancelOutsideCall()
    {
        std::lock_guard lock(m_mutex);
        return m_cancelOutsideCall;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_inCall = false;
    bool m_cancelOutsideCall = false;
    int m_cancels = 0;
};

TEST(InterruptTokenTest, ALostCancelIsSentAgainWhileTheCallStaysInFlight)
{
    // Before the retry, the first cancel was the only one: the call ran to its natural end.
    InterruptToken token;
    LossyCall call;
    std::mutex registeredMutex;
    std::condition_variable registeredCv;
    bool registered = false;
    bool cancelled = false;

    std::thread worker([&] {
        InterruptToken::Armed armed(token);
        {
            InterruptToken::DriverCall inFlight(call);
            call.enter();
            {
                std::lock_guard lock(registeredMutex);
                registered = true;
            }
            registeredCv.notify_all();
            cancelled = call.waitUntilCancelled();
            call.leave();
        }
    });
    {
        std::unique_lock lock(registeredMutex);
        registeredCv.wait(lock, [&] { return registered; });
    }
    token.interrupt();
    worker.join();

    EXPECT_TRUE(cancelled);
    EXPECT_GE(call.cancels(), 2);
    EXPECT_FALSE(call.cancelOutsideCall());
}

TEST(InterruptTokenTest, ATokenResetForALaterRunDoesNotCancelThatRunsCalls)
{
    InterruptToken token;
    LossyCall first;
    {
        InterruptToken::Armed armed(token);
        InterruptToken::DriverCall inFlight(first);
        first.enter();
        token.interrupt(); // watched by the retry from here on
        first.leave();
    }
    token.reset();

    // The next run's call stays in flight for several retry periods without being cancelled.
    LossyCall second;
    {
        InterruptToken::Armed armed(token);
        InterruptToken::DriverCall inFlight(second);
        second.enter();
        std::this_thread::sleep_for(InterruptToken::kCancelRetryPeriod * 3);
        second.leave();
    }
    EXPECT_EQ(second.cancels(), 0);
    EXPECT_FALSE(first.cancelOutsideCall());
}

} // namespace
} // namespace qb::data
