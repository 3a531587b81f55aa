#pragma once
// What a job running on a WorkerThread sees of its run: the kill request and the interrupt hook.
// Every run gets its own context, shared between the job's thread and the WorkerThread, so it
// stays valid for a job that keeps running after its owner gave up on it.
#include "platform/Event.h"

#include <functional>
#include <mutex>

namespace qb {

class WorkerThreadContext {
public:
    WorkerThreadContext() = default;
    WorkerThreadContext(const WorkerThreadContext&) = delete;
    WorkerThreadContext& operator=(const WorkerThreadContext&) = delete;

    // Set when the owner stops this run; never reset for it, so a job given up on still sees it.
    const Event& killEvent() const { return m_kill; }
    bool killRequested() const { return m_kill.isSet(); }

    // What the owner calls, on its own thread, right after setting the kill event: it breaks off
    // what the job is blocked in (the data layer interrupts its running statement). The hook
    // must be quick, must not wait for the GUI thread, and may touch only what it co-owns.
    // Registered after the kill request, it runs at once on the job's thread; the job still
    // checks killRequested() before starting its next blocking call.
    void setInterruptHook(std::function<void()> hook);
    void clearInterruptHook();

private:
    friend class WorkerThread;
    // Sets the kill event and calls the hook outside the lock (the job may be re-registering).
    void requestKill();

    Event m_kill;
    std::mutex m_mutex;
    std::function<void()> m_hook;
};

} // namespace qb
