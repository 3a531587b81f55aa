#pragma once
// tessmar -batch (-udl FILE | -constr STRING) (-sql FILE | -cmd SQL)
//
// The console's run without a window, for scripts, cron jobs and CI: it connects, runs the script
// as "Execute query" does (one transaction, statements cut at ";", results as text tables) and
// writes what the result window would show to standard output with LF line ends; the texts the
// window would show in message boxes go to standard error. Nothing of the output is kept, so
// the memory stays flat however many rows are printed.
//
// Ctrl+C (SIGINT) stops the run as "Stop execution" does: the statement in flight is
// interrupted, the interruption line is printed, and the exit status is 1.
#include "common/CommandLineOptions.h"

#include <cstdio>

namespace qb::console {

enum BatchExit : int {
    kBatchSucceeded = 0,    // every statement and the final commit succeeded
    kBatchFailed = 1,       // a statement or the commit failed, or the run was interrupted
    kBatchNotRun = 2,       // wrong arguments, an unreadable script file, no connection
};

// The option that selects batch mode.
inline QString batchOption() { return QStringLiteral("-batch"); }

// Runs the batch described by the command line. Call it before any other thread of the process
// is made (it blocks SIGINT for the threads that follow and takes the signal on a thread of its
// own).
int runBatch(const CommandLineOptions& commandLine, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace qb::console
