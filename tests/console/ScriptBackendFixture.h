#pragma once
// A fresh database per test on each backend, a session on it through our providers, and a
// recording result window for script runs.
#include "console/QStringPrinting.h"
#include "console/RecordingResultWriter.h"
#include "console/script/ScriptRun.h"
#include "dataaccess/DataSourceFactory.h"
#include "support/Backends.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qbtest {

class ScriptBackendTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        backend = makeBackend(GetParam(), scratch);
        dataSource = qb::data::createDataSource(backend->connectionString());
        dataSource->initialize();
        session = dataSource->createSession();
    }

    std::shared_ptr<qb::console::ScriptRun> makeRun(bool rowsShownDuringExecution = true)
    {
        return std::make_shared<qb::console::ScriptRun>(session, writer, writer, stop,
                                                         qb::console::ScriptRunOptions{rowsShownDuringExecution});
    }

    // Rows of the table as another connection sees them.
    int64_t rowsSeenElsewhere(const QString& table)
    {
        auto other = qb::data::createDataSource(backend->connectionString());
        other->initialize();
        auto otherSession = other->createSession();
        int64_t affected = 0;
        auto rowset = otherSession->execute(QStringLiteral("SELECT count(*) FROM ") + table, &affected);
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

    // A table "numbers" with the ids 1..n.
    void makeNumbers(int n)
    {
        backend->exec(QStringLiteral("CREATE TABLE numbers (id INTEGER)"));
        backend->exec(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < %1) "
                                     "INSERT INTO numbers (id) SELECT i FROM c")
                          .arg(n));
    }

    TempDir scratch;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<qb::data::DataSource> dataSource;
    std::shared_ptr<qb::data::Session> session;
    std::shared_ptr<RecordingResultWriter> writer = std::make_shared<RecordingResultWriter>();
    std::shared_ptr<qb::console::StopSignal> stop = std::make_shared<qb::console::StopSignal>();
};

inline std::string backendName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

} // namespace qbtest
