#pragma once
// A fresh database per test on each backend, a session on it through our providers, and a
// recording result window for script runs.
#include "console/QStringPrinting.h"
#include "console/RecordingResultWriter.h"
#include "console/script/ScriptRun.h"
#include "support/BackendFixture.h"

#include <cstring>

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

    // The number a query answers on another connection to this test's database; -1 for no row.
    int64_t numberSeenElsewhere(const QString& query)
    {
        auto other = qb::data::createDataSource(backend->connectionString());
        other->initialize();
        auto otherSession = other->createSession();
        int64_t affected = 0;
        auto rowset = otherSession->execute(query, &affected);
        qb::data::Binding b;
        b.ordinal = 1;
        b.type = qb::data::DBTYPE_I8;
        b.valueOffset = 0;
        b.lengthOffset = 8;
        b.statusOffset = 12;
        rowset->setBindings({b});
        std::byte row[16] = {};
        if (!rowset->next())
            return -1;
        rowset->getData(row);
        int64_t count = 0;
        std::memcpy(&count, row, sizeof count);
        return count;
    }

    std::shared_ptr<qb::data::Session> session;
    std::shared_ptr<RecordingResultWriter> writer = std::make_shared<RecordingResultWriter>();
    std::shared_ptr<qb::console::StopSignal> stop = std::make_shared<qb::console::StopSignal>();
};

} // namespace qbtest
