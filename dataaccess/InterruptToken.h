#pragma once
// The stop of an interruptible call into the data layer, built so that no stop is ever lost.
//
// The caller owns a token and arms it on its own thread for the call it may want to break off
// (InterruptToken::Armed, a scope; the caller disarms by leaving it). interrupt() sets the token
// from any thread at any moment: before the call, while the provider runs it, or between two of
// its steps. A set token stays set: nothing in the data layer clears it, only its owner does, with
// reset() before its next run. So:
//   - every provider call made on the armed thread checks the token on entry and fails with
//     DB_E_CANCELED once it is set (execute, restart, next, getData, stream reads, schema
//     rowsets, transactions);
//   - a driver call already under way is cancelled where the driver can take that: the SQLite
//     provider polls the token from its progress and busy handlers, the ODBC provider registers
//     each driver call (DriverCall) so that interrupt() sends it SQLCancel. A server may drop a
//     cancel that arrives a moment before it starts the work (PostgreSQL ignores a cancel for a
//     query it is not running yet), so while an interrupted call stays in flight its cancel is
//     sent again every kCancelRetryPeriod, from one process-wide thread, until the call returns.
// Calls made on a thread where no token is armed are never interrupted, so one thread's stop never
// breaks another thread's use of the same connection.
#include "dataaccess/Provider.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

namespace qb::data {

class InterruptToken {
public:
    static constexpr std::chrono::milliseconds kCancelRetryPeriod{100};

    InterruptToken() = default;
    ~InterruptToken();
    InterruptToken(const InterruptToken&) = delete;
    InterruptToken& operator=(const InterruptToken&) = delete;

    // Any thread, any time, also when nothing is armed or running. Quick: the cancel of a driver
    // call in flight is sent, never waited for.
    void interrupt();
    bool isInterrupted() const { return m_interrupted.load(std::memory_order_acquire); }
    // The owner, for its next run; no call may be armed with the token meanwhile.
    void reset() { m_interrupted.store(false, std::memory_order_release); }

    // Arms a token on the calling thread for the life of the scope. Scopes nest: the innermost
    // token governs, and the outer one is armed again when it ends.
    class Armed {
    public:
        explicit Armed(InterruptToken& token);
        ~Armed();
        Armed(const Armed&) = delete;
        Armed& operator=(const Armed&) = delete;

    private:
        InterruptToken* m_previous;
    };

    // --- For providers ---

    // Throws ProviderError(DB_E_CANCELED, "The operation was canceled.") when the token armed on
    // the calling thread is set.
    static void checkArmed();
    // Whether the token armed on the calling thread is set; cheap enough for a progress handler.
    static bool armedInterrupted();

    // What a driver call in flight is broken off with.
    class Cancellable {
    public:
        // Called on the interrupting thread while the call is registered (DriverCall); must be
        // quick and never wait for the thread that is in the call.
        virtual void cancel() = 0;

    protected:
        ~Cancellable() = default;
    };

    // A driver call on the calling thread, registered with its armed token for the life of the
    // scope: interrupt() calls `call.cancel()` while, and only while, it is registered (so a
    // handle is never cancelled once the call has returned). Throws as checkArmed() when the
    // token is already set. Does nothing where no token is armed.
    class DriverCall {
    public:
        explicit DriverCall(Cancellable& call);
        ~DriverCall();
        DriverCall(const DriverCall&) = delete;
        DriverCall& operator=(const DriverCall&) = delete;

    private:
        InterruptToken* m_token;
        Cancellable& m_call;
    };

private:
    friend class CancelRetry;
    // Cancels every call in flight again; false when none is left.
    bool cancelInFlight();

    std::atomic<bool> m_interrupted{false};
    std::atomic<bool> m_watched{false}; // handed to the cancel retry at least once
    std::mutex m_mutex; // the calls in flight; held while cancelling them
    std::vector<Cancellable*> m_inFlight;
};

// The failure of a call refused because its token was set.
ProviderError cancelledError();

} // namespace qb::data
