#pragma once
// One run of a script (the job of the console's worker thread): a local transaction around the
// whole script, the statements cut by the scanner and executed one after another, then a commit.
// There is no rollback: a statement that fails is reported and the next one runs.
#include "console/script/ResultWriter.h"
#include "console/script/RunFeedback.h"
#include "console/script/StopSignal.h"
#include "dataaccess/Provider.h"
#include "platform/Event.h"

#include <QString>
#include <memory>

namespace qb::console {

struct ScriptRunOptions {
    bool rowsShownDuringExecution = true; // IsShowDataDuringExec
};

class ScriptRun {
public:
    // Co-owns everything it touches, so a run that outlives its window stays safe.
    ScriptRun(std::shared_ptr<data::Session> session, std::shared_ptr<ResultWriter> writer,
              std::shared_ptr<RunFeedback> feedback, std::shared_ptr<StopSignal> stop, ScriptRunOptions options = {});

    // Runs the whole text on the calling thread. Never throws. A set `kill` event (the worker
    // thread's, when the window stops the run) counts as a stop request from the start, so a
    // stop that raced with the start of the run is not lost.
    // True when every statement and the commit succeeded (a stopped run can still be true).
    bool run(const QString& script, const Event* kill = nullptr);

private:
    // True when no statement failed.
    bool runStatements(const QString& script);

    std::shared_ptr<data::Session> m_session;
    std::shared_ptr<ResultWriter> m_writer;
    std::shared_ptr<RunFeedback> m_feedback;
    std::shared_ptr<StopSignal> m_stop;
    ScriptRunOptions m_options;
};

} // namespace qb::console
