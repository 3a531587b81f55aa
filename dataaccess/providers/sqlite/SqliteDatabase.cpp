#include "dataaccess/providers/sqlite/SqliteDatabase.h"

#include "dataaccess/InterruptToken.h"
#include "dataaccess/providers/sqlite/SqliteOpenOptions.h"

#include <QFileInfo>
#include <QUrl>
#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace qb::data::sqlite {
namespace {

// Waits for another process's lock up to 5 s in short sleeps, giving up at once on a stop request.
int busyHandler(void*, int attempt)
{
    if (InterruptToken::armedInterrupted() || attempt >= 500)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return 1;
}

int progressHandler(void*)
{
    return InterruptToken::armedInterrupted() ? 1 : 0;
}

// Opcodes between polls of the stop flag: small enough to stop within microseconds, large
// enough not to show in a table scan.
constexpr int kProgressOpcodes = 1000;

// The name handed to sqlite3_open_v2. Immutable needs a URI parameter; the path is then
// percent-encoded (made absolute first, so "//" cannot read as a host), since "?", "#" and "%"
// in a file name would otherwise be URI syntax.
QByteArray openName(const SqliteOpenOptions& options)
{
    if (!options.immutable)
        return options.path.toUtf8();
    return "file:" + QUrl::toPercentEncoding(QFileInfo(options.path).absoluteFilePath(), "/") + "?immutable=1";
}

} // namespace

HRESULT hresultOf(int rc)
{
    switch (rc & 0xFF) {
    case SQLITE_INTERRUPT:
        return DB_E_CANCELED;
    case SQLITE_NOMEM:
        return E_OUTOFMEMORY;
    case SQLITE_CANTOPEN:
        return STG_E_FILENOTFOUND;
    case SQLITE_AUTH:
    case SQLITE_PERM:
        return DB_SEC_E_AUTH_FAILED;
    case SQLITE_ERROR:
        return DB_E_ERRORSINCOMMAND;
    case SQLITE_MISMATCH:
        return DB_E_CANTCONVERTVALUE;
    default:
        return E_FAIL;
    }
}

SqliteDatabase::SqliteDatabase(const SqliteOpenOptions& options) : m_path(options.path)
{
    const QString& path = m_path;
    if (path.isEmpty())
        throw ProviderError(E_INVALIDARG, QStringLiteral("The connection string names no SQLite database file (\"Data Source\")."));
    const QFileInfo info(path);
    if (!info.exists())
        throw ProviderError(STG_E_FILENOTFOUND, QStringLiteral("The SQLite database file \"%1\" does not exist.").arg(path));
    if (info.isDir())
        throw ProviderError(E_FAIL, QStringLiteral("\"%1\" is a folder, not an SQLite database file.").arg(path));

    // An immutable file takes no locks, so it is never written either.
    const bool readOnly = options.readOnly || options.immutable;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_FULLMUTEX |
                      (options.immutable ? SQLITE_OPEN_URI : 0);
    const int rc = sqlite3_open_v2(openName(options).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw ProviderError(hresultOf(rc), QStringLiteral("Cannot open the SQLite database \"%1\": %2").arg(path, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, busyHandler, nullptr);
    sqlite3_progress_handler(m_db, kProgressOpcodes, progressHandler, nullptr);

    // A file that is not a database opens without complaint; find out now, not at the first query.
    char* message = nullptr;
    const int check = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message);
    if (check != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(check));
        sqlite3_free(message);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw ProviderError(hresultOf(check), QStringLiteral("Cannot open the SQLite database \"%1\": %2").arg(path, text));
    }
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(m_db);
}

ProviderError SqliteDatabase::error(int rc) const
{
    // A busy wait given up for the stop fails as SQLITE_BUSY: the stop is the reason all the same.
    if ((rc & 0xFF) == SQLITE_INTERRUPT || InterruptToken::armedInterrupted())
        return ProviderError(DB_E_CANCELED, QStringLiteral("The statement was interrupted."));
    return ProviderError(hresultOf(rc), QString::fromUtf8(sqlite3_errmsg(m_db)));
}

int SqliteDatabase::step(sqlite3_stmt* statement)
{
    struct Interrupt final : InterruptToken::Cancellable {
        sqlite3* db;
        explicit Interrupt(sqlite3* handle) : db(handle) {}
        void cancel() override { sqlite3_interrupt(db); }
    } interrupt(m_db);
    InterruptToken::DriverCall call(interrupt);
    return sqlite3_step(statement);
}

void SqliteDatabase::exec(const char* sql)
{
    InterruptToken::checkArmed();
    Hold hold(*this);
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw error(rc);
}

SqliteDatabase::Hold::Hold(const SqliteDatabase& db) : m_mutex(sqlite3_db_mutex(db.m_db))
{
    sqlite3_mutex_enter(m_mutex);
}

SqliteDatabase::Hold::~Hold()
{
    sqlite3_mutex_leave(m_mutex);
}

} // namespace qb::data::sqlite
