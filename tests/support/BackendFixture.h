#pragma once
// The base of the suites whose bodies run against every test backend: a fresh database per test,
// opened and initialized through the code under test. Each suite opens its session on
// `dataSource` in its own SetUp (the browser wraps it so a test can make it misbehave).
#include "dataaccess/DataSourceFactory.h"
#include "support/Backends.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>

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

    // The number the database gives for `sql` (first column of the first row), asked on a
    // connection of its own, so it is what other users see; -1 when there is no row.
    int64_t numberSeenElsewhere(const QString& sql)
    {
        auto other = qb::data::createDataSource(backend->connectionString());
        other->initialize();
        auto rowset = other->createSession()->execute(sql);
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
        int64_t number = 0;
        std::memcpy(&number, row, sizeof number);
        return number;
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
