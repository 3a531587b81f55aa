#pragma once
// The stop request of a script run (the event m_hStopSQLExec) together with the interrupt of the
// provider call the run is blocked in. Shared by the window, which requests, and the run, which
// resets and polls; a run given up on after a timeout keeps it alive.
#include "platform/Event.h"

#include <mutex>

namespace qb::data {
class Session;
}

namespace qb::console {

class StopSignal {
public:
    // GUI thread ("Stop execution"), or the worker's interrupt hook when the window closes: the
    // run stops at its next poll, between statements or rows; a statement still executing in the
    // provider is interrupted. Quick: never waits for the run.
    void request();
    // The run, at its start.
    void reset() { m_event.reset(); }
    bool isSet() const { return m_event.isSet(); }

    // Marks a provider call that may run long (executing a statement, counting its rows) as the
    // one a stop request interrupts. The session must outlive the object.
    class InterruptibleCall {
    public:
        InterruptibleCall(StopSignal& stop, data::Session& session);
        ~InterruptibleCall();
        InterruptibleCall(const InterruptibleCall&) = delete;
        InterruptibleCall& operator=(const InterruptibleCall&) = delete;

    private:
        StopSignal& m_stop;
    };

private:
    Event m_event;
    std::mutex m_mutex; // guards m_running; never held while waiting for anything
    data::Session* m_running = nullptr;
};

} // namespace qb::console
