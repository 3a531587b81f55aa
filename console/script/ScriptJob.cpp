#include "console/script/ScriptJob.h"

namespace qb::console {

WorkerThread::Job scriptJob(std::shared_ptr<ScriptRun> run, std::shared_ptr<StopSignal> stop, QString script)
{
    return [run = std::move(run), stop = std::move(stop), script = std::move(script)](WorkerThreadContext& context) {
        context.setInterruptHook([stop] { stop->request(); });
        run->run(script, &context.killEvent());
        context.clearInterruptHook();
        return 0;
    };
}

} // namespace qb::console
