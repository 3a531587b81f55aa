#include "support/Backends.h"

#include "support/BackendsOdbc.h"
#include "support/TempDir.h"

#include <sqlite3.h>

#include <atomic>
#include <stdexcept>

namespace qbtest {
namespace {

// Our SQLite provider on a fresh database file; setup SQL goes straight to the SQLite library.
class SqliteBackend final : public Backend {
public:
    explicit SqliteBackend(const TempDir& scratch)
    {
        static std::atomic<int> counter{0};
        m_path = scratch.qfile("backend-" + std::to_string(counter.fetch_add(1)) + ".db");
        if (sqlite3_open_v2(m_path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            throw std::runtime_error("cannot create the test database " + m_path.toStdString());
    }
    ~SqliteBackend() override { sqlite3_close_v2(m_db); }

    std::string name() const override { return "sqlite"; }
    QString connectionString() const override { return QStringLiteral("Provider=SQLite;Data Source=") + m_path; }
    void exec(const QString& sql) override
    {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "unknown error";
            sqlite3_free(message);
            throw std::runtime_error("setup SQL failed: " + text + " in: " + sql.toStdString());
        }
    }
    QString textType() const override { return QStringLiteral("TEXT"); }
    QString blobType() const override { return QStringLiteral("BLOB"); }
    QString blobLiteral(const QByteArray& bytes) const override
    {
        return QStringLiteral("X'") + QString::fromLatin1(bytes.toHex()) + QStringLiteral("'");
    }
    QString defaultSchema() const override { return QString(); }
    QString databaseFile() const override { return m_path; }

private:
    QString m_path;
    sqlite3* m_db = nullptr;
};

} // namespace

std::vector<std::string> backendNames()
{
    return {"sqlite", "sqliteodbc", "postgres"};
}

std::unique_ptr<Backend> makeBackend(const std::string& name, const TempDir& scratch)
{
    if (name == "sqlite")
        return std::make_unique<SqliteBackend>(scratch);
    if (auto odbc = makeOdbcBackend(name, scratch))
        return odbc;
    throw std::invalid_argument("unknown test backend: " + name);
}

} // namespace qbtest
