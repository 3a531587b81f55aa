#pragma once
// A short-lived PostgreSQL server of one test's own, for tests that stop a server under a
// running load: stopping the shared server of scripts/test-services.sh would fail the suites
// that run beside them. Trust authentication on 127.0.0.1, a free port of its own.
#include <QString>
#include <filesystem>

namespace qbtest {

class TempDir;

class OdbcPrivateServer {
public:
    // initdb and start in a folder below `scratch`; throws std::runtime_error when that fails.
    explicit OdbcPrivateServer(const TempDir& scratch);
    ~OdbcPrivateServer(); // stops the server if it still runs
    OdbcPrivateServer(const OdbcPrivateServer&) = delete;
    OdbcPrivateServer& operator=(const OdbcPrivateServer&) = delete;

    // "Provider=ODBC;Driver={PostgreSQL Unicode};..." for database `database` as the superuser.
    QString connectionString(const QString& database = QStringLiteral("postgres")) const;
    // Fast shutdown: sessions are ended, the server is gone when this returns.
    void stop();

private:
    bool runServerProgram(const QString& program, const QStringList& arguments, QString* output = nullptr) const;

    std::filesystem::path m_dir;
    QString m_bin;
    int m_port = 0;
    bool m_running = false;
};

} // namespace qbtest
