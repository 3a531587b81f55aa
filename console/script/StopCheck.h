#pragma once
#include "console/script/ResultWriter.h"
#include "console/script/StopSignal.h"

#include <QString>

namespace qb::console {

// The run's poll of its stop request (IsStopRequested).
class StopCheck {
public:
    StopCheck(const StopSignal& stop, ResultWriter& writer);
    // When a stop was requested, writes "Execution has been interrupted" and CR LF in the other
    // text category and returns true; otherwise writes nothing.
    bool isStopRequested();

private:
    const StopSignal& m_stop;
    ResultWriter& m_writer;
    QString m_line;
};

} // namespace qb::console
