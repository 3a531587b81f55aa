#pragma once
// Echoes and executes the statements of one run (OnStatement, ExecuteStatement): each statement
// is echoed as "SQL> " and " " + statement, then its outcome follows: a text table, "SQL Query
// was accomplished" (no line break), or a TAB-indented error line. Errors never end the run.
// Once a stop is requested, every later statement is echoed and followed by the interruption line.
#include "console/script/ResultWriter.h"
#include "console/script/RunFeedback.h"
#include "console/script/StatementSink.h"
#include "console/script/StopCheck.h"
#include "console/script/StopSignal.h"
#include "dataaccess/Provider.h"

namespace qb::console {

class ScriptExecutor : public StatementSink {
public:
    ScriptExecutor(data::Session& session, ResultWriter& writer, RunFeedback& feedback, StopSignal& stop,
                   bool rowsShownDuringExecution);

    void onStatement(const QString& text, StatementKind kind) override;
    // Throws Brelib::exception with the complete error text.
    void executeStatement(const QString& text);

    // Statements that failed so far: an error line, or a table that a failing fetch cut short.
    // A stop is no failure.
    int failedStatements() const { return m_failedStatements; }

private:
    data::Session& m_session;
    ResultWriter& m_writer;
    RunFeedback& m_feedback;
    StopSignal& m_stop;
    StopCheck m_stopCheck;
    bool m_rowsShownDuringExecution;
    int m_failedStatements = 0;
};

} // namespace qb::console
