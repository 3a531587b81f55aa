#pragma once
// The databases the data-access suites run the same test bodies against:
//   "sqlite"      our SQLite provider on a file;
//   "sqliteodbc"  our ODBC provider over the SQLite ODBC driver on a file;
//   "postgres"    our ODBC provider over psqlODBC on the private PostgreSQL server that
//                 scripts/test-services.sh starts (QB_PG_* variables; a suite fails, not skips,
//                 when they are missing, so CI cannot pass without the server).
// Each backend makes a fresh, empty database per test object and drops it in the destructor.
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

namespace qbtest {

class TempDir;

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::string name() const = 0;
    // Initialization string of this test's own database ("Provider=...;...").
    virtual QString connectionString() const = 0;
    // Runs setup statements directly on the database (not through the code under test).
    virtual void exec(const QString& sql) = 0;
    // Dialect helpers for setup SQL: unbounded text, unbounded binary, a hex literal of bytes.
    virtual QString textType() const = 0;
    virtual QString blobType() const = 0;
    virtual QString blobLiteral(const QByteArray& bytes) const = 0;
    // Schema in which setup tables land, as the tables schema reports it ("" for SQLite, "public").
    virtual QString defaultSchema() const = 0;
    // The database file of the SQLite backends; empty for a server.
    virtual QString databaseFile() const { return QString(); }
};

// All backend names, in a fixed order; use with INSTANTIATE_TEST_SUITE_P.
std::vector<std::string> backendNames();
// A backend with a fresh database; `scratch` holds its files where it needs some.
std::unique_ptr<Backend> makeBackend(const std::string& name, const TempDir& scratch);

} // namespace qbtest
