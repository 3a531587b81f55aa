#pragma once
// Browser suites run against every test backend: a fresh database, a session on it through the
// code under test (wrapped so a test can make it misbehave), and a private registry.
#include "ScriptedSession.h"

#include "dataaccess/DataSourceFactory.h"
#include "explorer/browser/SessionSource.h"
#include "explorer/settings/SettingsKeys.h"
#include "support/Backends.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qbtest {

class BrowserBackendTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        backend = makeBackend(GetParam(), scratch);
        dataSource = qb::data::createDataSource(backend->connectionString());
        dataSource->initialize();
        session = std::make_shared<ScriptedSession>(dataSource->createSession());
    }

    qb::browser::SessionSource sessionSource()
    {
        return [s = session] { return std::static_pointer_cast<qb::data::Session>(s); };
    }
    // The name the tables folder shows for a table made by setup SQL.
    QString displayName(const QString& table) const
    {
        const QString schema = backend->defaultSchema();
        return schema.isEmpty() ? table : schema + QLatin1Char('.') + table;
    }
    // n rows (id 1..n) in a new table.
    void makeNumberedTable(const QString& table, int n)
    {
        backend->exec(QStringLiteral("CREATE TABLE %1 (id INTEGER, name VARCHAR(20))").arg(table));
        backend->exec(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < %2) "
                                     "INSERT INTO %1 (id, name) SELECT i, 'row ' || i FROM c")
                          .arg(table)
                          .arg(n));
    }

    ScopedRegistryDir registry;
    TempDir scratch;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<qb::data::DataSource> dataSource;
    std::shared_ptr<ScriptedSession> session;
};

inline std::string backendTestName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

} // namespace qbtest
