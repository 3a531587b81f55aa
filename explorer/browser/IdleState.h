#pragma once
// The window's idle event: set while no loader job runs. A job makes the window busy for its whole
// run, and while busy the window drops any request that would reach the elements, so the GUI
// thread never waits for a job.
//
// The transitions take a small lock together with the job's abandoned mark, so a job given up on
// can never set the window idle under the feet of the job that followed it. The lock is held for
// the transition only, never while waiting.
#include "platform/Event.h"

#include <chrono>
#include <mutex>

namespace qb::browser {

class LoaderJobToken;

class IdleState {
public:
    static constexpr std::chrono::milliseconds kWaitSlice{500};

    bool isIdle() const { return m_idle.isSet(); }
    const Event& event() const { return m_idle; }

    // Waits (in slices, without limit) until idle, then makes the window busy for the job.
    // False when the job is stopped or abandoned before that.
    bool claimFor(const LoaderJobToken& job);
    // The job's end: idle again, unless the job was abandoned (the owner has done it then).
    void releaseFor(const LoaderJobToken& job);
    // The owner gives up on the job: it is abandoned and the window is idle.
    void abandon(LoaderJobToken& job);

private:
    std::mutex m_transition;
    Event m_idle{true};
};

} // namespace qb::browser
