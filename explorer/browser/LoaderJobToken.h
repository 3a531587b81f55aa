#pragma once
// One loader job as both threads see it. The job's thread installs its token for the job's
// duration, so code deep inside a load can ask whether it runs in a job and whether that job is
// to stop; the owner keeps the token to stop the job and, when it gives up waiting, to mark it
// abandoned. An abandoned job runs on to its end in the background but no longer reaches the
// window: its reports are dropped and it leaves the idle state, the history and the current
// element alone.
//
// The stop is the job's interrupt token, which the job arms on its thread for its whole run: a
// stop requested at any moment fails the provider call in flight or the next one.
#include "dataaccess/InterruptToken.h"

#include <atomic>
#include <mutex>

namespace qb::browser {

class LoaderJobToken {
public:
    bool stopRequested() const { return m_stop.isInterrupted(); }
    // Any thread; quick.
    void requestStop() { m_stop.interrupt(); }
    data::InterruptToken& interruptToken() { return m_stop; }
    bool abandoned() const { return m_abandoned.load(std::memory_order_acquire); }
    void abandon()
    {
        std::lock_guard<std::mutex> guard(m_abandonLock);
        m_abandoned.store(true, std::memory_order_release);
    }
    // Runs `change` unless the job is abandoned, under the lock abandon() takes, so an owner that
    // gave the job up never sees the change land afterwards (on state it may have cleared). False
    // when abandoned. The GUI thread may wait for this lock: `change` must be short and must not
    // wait for the GUI thread.
    template <typename Change>
    bool unlessAbandoned(Change&& change)
    {
        std::lock_guard<std::mutex> guard(m_abandonLock);
        if (abandoned())
            return false;
        change();
        return true;
    }

    // The token of the job running on the calling thread; nullptr outside a job (GUI thread).
    static const LoaderJobToken* current();

    // Installs a token for the calling thread for the life of the scope.
    class Scope {
    public:
        explicit Scope(const LoaderJobToken& token);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        const LoaderJobToken* m_previous;
    };

private:
    data::InterruptToken m_stop;
    std::atomic<bool> m_abandoned{false};
    std::mutex m_abandonLock;
};

} // namespace qb::browser
