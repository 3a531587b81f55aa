#include "support/BackendsOdbc.h"

#include "support/TempDir.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QByteArray>
#include <QRandomGenerator>
#include <atomic>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace qbtest {
namespace {

std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    std::string text;
    SQLCHAR state[6];
    SQLINTEGER native = 0;
    SQLCHAR message[1024];
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1; SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length)); ++i)
        text += std::string(" [") + reinterpret_cast<char*>(state) + "] " + reinterpret_cast<char*>(message);
    return text;
}

// A connection straight through the driver manager, for setup statements: the provider under
// test plays no part in preparing its own test data.
class RawOdbc {
public:
    // `wideText`: statements go through the wide entry (UTF-16); else as UTF-8 through the narrow
    // one (the SQLite ODBC driver's wide entry garbles characters outside the BMP).
    RawOdbc(const std::string& connectString, bool wideText) : m_wideText(wideText)
    {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
        SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
        const SQLRETURN rc = SQLDriverConnect(m_dbc, nullptr, (SQLCHAR*)connectString.c_str(), SQL_NTS, nullptr, 0,
                                              nullptr, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) {
            const std::string why = diagnostics(SQL_HANDLE_DBC, m_dbc);
            free();
            throw std::runtime_error("test backend cannot connect:" + why);
        }
    }
    ~RawOdbc()
    {
        SQLDisconnect(m_dbc);
        free();
    }
    RawOdbc(const RawOdbc&) = delete;
    RawOdbc& operator=(const RawOdbc&) = delete;

    void exec(const QString& sql)
    {
        SQLHSTMT statement = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &statement);
        QByteArray utf8 = sql.toUtf8();
        const SQLRETURN rc = m_wideText ? SQLExecDirectW(statement, (SQLWCHAR*)sql.utf16(), SQL_NTS)
                                        : SQLExecDirect(statement, (SQLCHAR*)utf8.data(), SQLINTEGER(utf8.size()));
        const std::string why = SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA ? std::string() : diagnostics(SQL_HANDLE_STMT, statement);
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        if (!why.empty())
            throw std::runtime_error("setup SQL failed:" + why + " in: " + sql.toStdString());
    }

private:
    void free()
    {
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }

    bool m_wideText;
    SQLHENV m_env = SQL_NULL_HENV;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
};

QString hexLiteralDigits(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex());
}

// Our ODBC provider over the SQLite ODBC driver on a fresh database file.
class SqliteOdbcBackend final : public Backend {
public:
    explicit SqliteOdbcBackend(const TempDir& scratch)
    {
        static std::atomic<int> counter{0};
        m_path = scratch.qfile("odbc-backend-" + std::to_string(counter.fetch_add(1)) + ".db");
        // Without NoCreat the driver creates the file. A short busy timeout: a test that leaves
        // the file locked should fail in seconds, not wait the driver's default 100 s.
        m_raw = std::make_unique<RawOdbc>("Driver={SQLite3};Timeout=5000;Database=" + m_path.toStdString(), false);
    }

    std::string name() const override { return "sqliteodbc"; }
    QString connectionString() const override
    {
        return QStringLiteral("Provider=ODBC;Driver={SQLite3};Database=") + m_path;
    }
    void exec(const QString& sql) override { m_raw->exec(sql); }
    QString textType() const override { return QStringLiteral("TEXT"); }
    QString blobType() const override { return QStringLiteral("BLOB"); }
    QString blobLiteral(const QByteArray& bytes) const override
    {
        return QStringLiteral("X'") + hexLiteralDigits(bytes) + QStringLiteral("'");
    }
    QString defaultSchema() const override { return QString(); }
    QString databaseFile() const override { return m_path; }

private:
    QString m_path;
    std::unique_ptr<RawOdbc> m_raw;
};

QString requiredVariable(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        throw std::runtime_error(std::string(name) +
                                 " is not set: the \"postgres\" test backend needs the private PostgreSQL server. "
                                 "Run the suites through scripts/test.sh, or source scripts/test-services.sh and "
                                 "call services_start first.");
    return value;
}

// Our ODBC provider over psqlODBC on the private server of scripts/test-services.sh; each
// backend object has a database of its own, dropped with the object.
class PostgresBackend final : public Backend {
public:
    PostgresBackend()
        : m_host(requiredVariable("QB_PG_HOST")), m_port(requiredVariable("QB_PG_PORT")),
          m_user(requiredVariable("QB_PG_USER")), m_password(qEnvironmentVariable("QB_PG_PASSWORD"))
    {
        static std::atomic<int> counter{0};
        m_database = QStringLiteral("qbt_%1_%2_%3")
                         .arg(getpid())
                         .arg(counter.fetch_add(1))
                         .arg(QRandomGenerator::global()->generate() % 1000000);
        m_admin = std::make_unique<RawOdbc>(odbcString(QStringLiteral("postgres")).toStdString(), true);
        m_admin->exec(QStringLiteral("CREATE DATABASE %1").arg(m_database));
        try {
            m_raw = std::make_unique<RawOdbc>(odbcString(m_database).toStdString(), true);
        } catch (...) {
            dropDatabase();
            throw;
        }
    }
    ~PostgresBackend() override
    {
        m_raw.reset();
        dropDatabase();
    }

    std::string name() const override { return "postgres"; }
    QString connectionString() const override { return QStringLiteral("Provider=ODBC;") + odbcString(m_database); }
    void exec(const QString& sql) override { m_raw->exec(sql); }
    QString textType() const override { return QStringLiteral("text"); }
    QString blobType() const override { return QStringLiteral("bytea"); }
    QString blobLiteral(const QByteArray& bytes) const override
    {
        return QStringLiteral("decode('") + hexLiteralDigits(bytes) + QStringLiteral("', 'hex')");
    }
    QString defaultSchema() const override { return QStringLiteral("public"); }

private:
    QString odbcString(const QString& database) const
    {
        return QStringLiteral("Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;Uid=%4;Pwd={%5};")
            .arg(m_host, m_port, database, m_user, QString(m_password).replace(u'}', QStringLiteral("}}")));
    }
    void dropDatabase() noexcept
    {
        try {
            // FORCE ends connections the code under test left open, so the database always goes.
            m_admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_database));
        } catch (const std::exception&) {
            // a leftover scratch database of a private server; nothing to do about it here
        }
    }

    QString m_host, m_port, m_user, m_password;
    QString m_database;
    std::unique_ptr<RawOdbc> m_admin;
    std::unique_ptr<RawOdbc> m_raw;
};

} // namespace

std::unique_ptr<Backend> makeOdbcBackend(const std::string& name, const TempDir& scratch)
{
    if (name == "sqliteodbc")
        return std::make_unique<SqliteOdbcBackend>(scratch);
    if (name == "postgres")
        return std::make_unique<PostgresBackend>();
    return nullptr;
}

} // namespace qbtest
