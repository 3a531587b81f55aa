#pragma once
#include "console/script/ResultWriter.h"
#include "console/script/StopSignal.h"

#include <QString>

namespace qb::console {

// The run's poll of its stop request (IsStopRequested). One per run, shared by everything that
// polls, so a stopped run says so once however many places notice it.
class StopCheck {
public:
    StopCheck(const StopSignal& stop, ResultWriter& writer);
    // When a stop was requested, returns true and, the first time, writes "Execution has been
    // interrupted" and CR LF in the other text category; otherwise writes nothing.
    bool isStopRequested();
    // The interruption line has been written: the run is over but for its commit.
    bool reported() const { return m_reported; }
    const StopSignal& signal() const { return m_stop; }

private:
    const StopSignal& m_stop;
    ResultWriter& m_writer;
    QString m_line;
    bool m_reported = false;
};

} // namespace qb::console
