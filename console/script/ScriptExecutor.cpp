#include "console/script/ScriptExecutor.h"

#include "console/script/ConsoleText.h"
#include "console/script/RowsetPrinter.h"
#include "dataaccess/ErrorText.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

namespace qb::console {
namespace {

// Value the provider leaves in place when it reports no rows-affected count.
constexpr int64_t kNotReported = -666;

class ProgressBar {
public:
    explicit ProgressBar(RunFeedback& feedback) : m_feedback(feedback)
    {
        m_feedback.progressStarted();
        m_feedback.progressPosition(1);
    }
    ~ProgressBar() { m_feedback.progressFinished(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

private:
    RunFeedback& m_feedback;
};

} // namespace

ScriptExecutor::ScriptExecutor(data::Session& session, ResultWriter& writer, RunFeedback& feedback, StopSignal& stop,
                               bool rowsShownDuringExecution)
    : m_session(session),
      m_writer(writer),
      m_feedback(feedback),
      m_stop(stop),
      m_stopCheck(stop, writer),
      m_rowsShownDuringExecution(rowsShownDuringExecution)
{
}

void ScriptExecutor::onStatement(const QString& text, StatementKind kind)
{
    m_writer.appendResultText(loadString(kTextEchoPrompt), ResultTextCategory::OtherText);
    m_writer.appendResultText(QLatin1Char(' ') + text + QLatin1StringView("\r\n"), ResultTextCategory::OtherText);
    if (kind != StatementKind::Ordinary)
        return; // the run's own transaction stands in for the script's
    QString error;
    try {
        executeStatement(text);
        return;
    } catch (const Brelib::exception& e) {
        error = e.text();
    } catch (...) {
        error = loadString(data::kUnknownError);
    }
    ++m_failedStatements;
    m_writer.appendResultText(QLatin1Char('\t') + error + QLatin1StringView("\r\n"), ResultTextCategory::OtherText);
}

void ScriptExecutor::executeStatement(const QString& text)
{
    ProgressBar progress(m_feedback);
    // Every provider call of the statement, from execute to its last row, fails once a stop is
    // requested, however it lands; the polls below only keep the run from starting new work.
    data::InterruptToken::Armed armed(m_stop.token());
    int64_t rowsAffected = kNotReported;
    std::unique_ptr<data::Rowset> rowset;
    if (m_stopCheck.isStopRequested())
        return;
    try {
        rowset = m_session.execute(text, &rowsAffected);
    } catch (const data::ProviderError& e) {
        // Broken off by the stop request: that is the outcome, not an error.
        if (m_stopCheck.isStopRequested())
            return;
        throw data::actionError(kTextExecuteFailed, e);
    }
    m_feedback.progressPosition(5);
    if (rowsAffected == kNotReported || !rowset) {
        m_feedback.progressPosition(100);
        rowset.reset();
        m_writer.appendPlainText(loadString(kTextAccomplished));
        return;
    }
    if (m_stopCheck.isStopRequested())
        return;
    RowsetPrinter printer(m_writer, m_feedback, m_stop, m_rowsShownDuringExecution);
    printer.print(*rowset);
    if (printer.endedByFailure())
        ++m_failedStatements;
}

} // namespace qb::console
