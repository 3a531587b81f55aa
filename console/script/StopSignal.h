#pragma once
// The stop request of a script run (the event m_hStopSQLExec). It is the run's interrupt token:
// the run arms it around each statement (execute, count, print), so a request breaks off the
// provider call in flight or fails the next one, wherever in the statement's life it lands, and
// the run polls it between statements and rows. Shared by the window, which requests, and the
// run, which resets and polls; a run given up on after a timeout keeps it alive.
#include "dataaccess/InterruptToken.h"

namespace qb::console {

class StopSignal {
public:
    // GUI thread ("Stop execution"), or the worker's interrupt hook when the window closes.
    // Quick: never waits for the run.
    void request() { m_token.interrupt(); }
    // The run, at its start.
    void reset() { m_token.reset(); }
    bool isSet() const { return m_token.isInterrupted(); }

    // What the run arms around its provider calls.
    data::InterruptToken& token() { return m_token; }

private:
    data::InterruptToken m_token;
};

} // namespace qb::console
