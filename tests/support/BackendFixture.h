#pragma once
// The base of the suites whose bodies run against every test backend: a fresh database per test,
// opened and initialized through the code under test. Each suite opens its session on
// `dataSource` in its own SetUp (the browser wraps it so a test can make it misbehave).
#include "dataaccess/DataSourceFactory.h"
#include "support/Backends.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace qbtest {

class BackendFixture : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        backend = makeBackend(GetParam(), scratch);
        dataSource = qb::data::createDataSource(backend->connectionString());
        dataSource->initialize();
    }
    bool isSqlite() const { return GetParam() == "sqlite"; }

    // n rows (id 1..n, name "row <id>") in a new table.
    void makeNumberedTable(const QString& table, int n)
    {
        backend->exec(QStringLiteral("CREATE TABLE %1 (id INTEGER, name VARCHAR(20))").arg(table));
        backend->exec(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < %2) "
                                     "INSERT INTO %1 (id, name) SELECT i, 'row ' || i FROM c")
                          .arg(table)
                          .arg(n));
    }

    TempDir scratch;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<qb::data::DataSource> dataSource;
};

// A fresh SQLite database holding the empty table t (id INTEGER), for tests that need one backend.
class SqliteFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        backend = makeBackend("sqlite", scratch);
        backend->exec(QStringLiteral("CREATE TABLE t (id INTEGER)"));
    }

    TempDir scratch;
    std::unique_ptr<Backend> backend;
};

// Test names end in the backend's name: ".../sqliteodbc".
inline std::string backendTestName(const ::testing::TestParamInfo<std::string>& info)
{
    return info.param;
}

} // namespace qbtest
