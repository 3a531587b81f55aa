#include "console/script/ScriptRun.h"

#include "console/script/ConsoleText.h"
#include "console/script/ScriptExecutor.h"
#include "console/script/StatementScanner.h"
#include "dataaccess/ErrorText.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

namespace qb::console {

ScriptRun::ScriptRun(std::shared_ptr<data::Session> session, std::shared_ptr<ResultWriter> writer,
                     std::shared_ptr<RunFeedback> feedback, std::shared_ptr<StopSignal> stop, ScriptRunOptions options)
    : m_session(std::move(session)),
      m_writer(std::move(writer)),
      m_feedback(std::move(feedback)),
      m_stop(std::move(stop)),
      m_options(options)
{
}

bool ScriptRun::run(const QString& script, const Event* kill)
{
    bool succeeded = true;
    // Reset before the window learns that the run started: a Stop pressed from then on counts.
    m_stop->reset();
    if (kill && kill->isSet())
        m_stop->request();
    m_feedback->runStarted();
    const bool transactions = m_session->supportsTransactions();
    if (transactions) {
        try {
            m_session->startTransaction();
        } catch (const data::ProviderError&) {
            // Without it the statements commit one by one; the script still runs.
        }
    }

    try {
        succeeded = runStatements(script);
    } catch (const Brelib::exception& e) {
        succeeded = false;
        m_feedback->showError(e.text());
    } catch (...) {
        succeeded = false;
        m_feedback->showError(loadString(data::kUnknownError));
    }

    if (transactions) {
        try {
            m_session->commit();
        } catch (const data::ProviderError& e) {
            // Reported: the script's changes are lost, and every statement looked successful.
            succeeded = false;
            m_feedback->showError(data::composeMessage(kTextCommitFailed, e));
        } catch (...) {
            succeeded = false;
            m_feedback->showError(loadString(data::kUnknownError));
        }
    }
    m_feedback->runFinished();
    return succeeded;
}

bool ScriptRun::runStatements(const QString& script)
{
    ScriptExecutor executor(*m_session, *m_writer, *m_feedback, *m_stop, m_options.rowsShownDuringExecution);
    StatementScanner::scan(script, executor);
    return executor.failedStatements() == 0;
}

} // namespace qb::console
