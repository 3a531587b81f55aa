#pragma once
// A fresh database per test on each backend, a session on it through our providers, and a
// recording result window for script runs.
#include "RecordingResultWriter.h"

#include "console/script/ScriptRun.h"
#include "support/BackendFixture.h"
#include "support/QStringPrinting.h"

namespace qbtest {

class ScriptBackendTest : public BackendFixture {
protected:
    void SetUp() override
    {
        BackendFixture::SetUp();
        session = dataSource->createSession();
    }

    std::shared_ptr<qb::console::ScriptRun> makeRun(bool rowsShownDuringExecution = true)
    {
        return std::make_shared<qb::console::ScriptRun>(session, writer, writer, stop,
                                                         qb::console::ScriptRunOptions{rowsShownDuringExecution});
    }

    // Rows of the table as another connection sees them.
    int64_t rowsSeenElsewhere(const QString& table) { return numberSeenElsewhere(QStringLiteral("SELECT count(*) FROM ") + table); }

    std::shared_ptr<qb::data::Session> session;
    std::shared_ptr<RecordingResultWriter> writer = std::make_shared<RecordingResultWriter>();
    std::shared_ptr<qb::console::StopSignal> stop = std::make_shared<qb::console::StopSignal>();
};

} // namespace qbtest
