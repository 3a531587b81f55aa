#pragma once
// The job the console's worker thread (SQLExecThread, a WorkerThread) runs for "Execute query".
// Stopping the worker (the window closes, the connection goes) stops the run like "Stop
// execution" does: at the next statement or row, interrupting a statement still executing.
#include "common/WorkerThread.h"
#include "console/script/ScriptRun.h"

namespace qb::console {

WorkerThread::Job scriptJob(std::shared_ptr<ScriptRun> run, std::shared_ptr<StopSignal> stop, QString script);

} // namespace qb::console
