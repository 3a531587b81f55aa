#include "platform/RegistryHiveFile.h"

#include <QDateTime>
#include <QFile>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::reg::detail {

namespace {

std::string local(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

bool exists(const QString& path)
{
    struct stat info;
    return ::stat(local(path).c_str(), &info) == 0;
}

// By the effective user, who is the one that will open the file.
bool mayWrite(const QString& path)
{
    return ::faccessat(AT_FDCWD, local(path).c_str(), W_OK, AT_EACCESS) == 0;
}

class FolderLock {
public:
    FolderLock(const QString& folder, bool exclusive)
        : m_fd(::open(local(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            while (::flock(m_fd, exclusive ? LOCK_EX : LOCK_SH) == -1 && errno == EINTR) {
            }
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd;
};

enum class Health { Good, New, Damaged, Unreadable };

struct Checkup {
    Health health;
    QString reason;
    int code = SQLITE_OK;
};

// What every call answers while a hive cannot be opened for a passing reason (a lock held too long,
// an I/O error); ERROR_SUCCESS when the reason is lasting (no right to read, not a file).
long passingFailure(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_IOERR:
    case SQLITE_NOMEM:
        return ERROR_BADDB;
    default:
        return ERROR_SUCCESS;
    }
}

Checkup examine(sqlite3* db)
{
    // quick_check reads every page, which for a hive of settings is a matter of microseconds, and
    // finds damage that would otherwise surface as failed writes later on.
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &stmt, nullptr);
    QString verdict;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            rc = SQLITE_OK;
        }
    }
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    switch (rc & 0xff) {
    case SQLITE_OK:
        break;
    case SQLITE_NOTADB:
        return {Health::Damaged, QStringLiteral("the file is not a database")};
    case SQLITE_CORRUPT:
        return {Health::Damaged, QStringLiteral("the database is damaged (%1)").arg(message)};
    default:
        return {Health::Unreadable, message, rc};
    }
    if (verdict != QLatin1String("ok"))
        return {Health::Damaged, QStringLiteral("the database is damaged (%1)").arg(verdict.replace(QLatin1Char('\n'), QLatin1String("; ")))};

    stmt = nullptr;
    int64_t objects = -1;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        objects = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    if (objects == 0)
        return {Health::New, {}};
    if (!RegistryHive::hasSchema(db))
        return {Health::Damaged, QStringLiteral("the database is not a registry hive")};
    return {Health::Good, {}};
}

// Garbage is recognised before SQLite sees it: SQLite would delete a log file lying next to a file
// that is not a database, and such a file is worth keeping with the damaged one.
bool looksLikeDatabase(const QString& file)
{
    static const char magic[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    QFile hive(file);
    if (!hive.open(QIODevice::ReadOnly))
        return true; // missing (SQLite makes it) or unreadable (SQLite says why)
    const QByteArray start = hive.read(sizeof magic);
    return start.isEmpty() || start == QByteArray::fromRawData(magic, sizeof magic);
}

// Moves the file and what belongs to it (its log or journal) to "<file>.damaged-<time>", so the
// next open starts afresh and nothing of the old file is replayed into the new one.
QString setAside(const QString& file, QString* error)
{
    const QString stem = file + QStringLiteral(".damaged-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = stem;
    for (int n = 2; exists(aside); ++n)
        aside = stem + QLatin1Char('-') + QString::number(n);
    if (::rename(local(file).c_str(), local(aside).c_str()) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return {};
    }
    for (const char* suffix : {"-wal", "-journal"}) {
        const QString companion = file + QLatin1String(suffix);
        if (exists(companion))
            ::rename(local(companion).c_str(), local(aside + QLatin1String(suffix)).c_str());
    }
    ::unlink(local(file + QStringLiteral("-shm")).c_str());
    return aside;
}

void createPrivately(const QString& file)
{
    const int fd = ::open(local(file).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

void prepareForWriting(sqlite3* db, const HiveFileSetup& setup)
{
    if (setup.writeAheadLog)
        sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    // Every write is to survive a power cut once the call returns.
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
}

} // namespace

HiveOpening openHiveFile(const HiveFileSetup& setup)
{
    std::error_code ignored;
    std::filesystem::create_directories(local(setup.folder), ignored);
    const bool present = exists(setup.file);
    const bool writable = mayWrite(setup.folder) && (!present || mayWrite(setup.file));
    if (!present && !writable)
        return {RegistryHive::makeEmpty(setup.file), {}}; // nothing to read and no right to create it

    FolderLock lock(setup.folder, writable);
    std::optional<HiveReport> report;
    for (;;) {
        if (writable && setup.privateFile)
            createPrivately(setup.file);
        sqlite3* db = nullptr;
        Checkup checkup{Health::Damaged, QStringLiteral("the file is not a database")};
        if (looksLikeDatabase(setup.file)) {
            const int flags = (writable ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
            const int rc = sqlite3_open_v2(local(setup.file).c_str(), &db, flags, nullptr);
            checkup = {Health::Unreadable, QString::fromUtf8(sqlite3_errstr(rc)), rc};
            if (rc == SQLITE_OK) {
                sqlite3_busy_timeout(db, 10000);
                checkup = examine(db);
            }
        }
        if (checkup.health == Health::Good || (checkup.health == Health::New && writable)) {
            if (writable)
                prepareForWriting(db, setup);
            if (checkup.health == Health::Good || RegistryHive::createSchema(db))
                return {std::make_shared<RegistryHive>(db, setup.file, !writable), report};
            checkup = {Health::Unreadable, QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_errcode(db)};
        }
        sqlite3_close(db);

        switch (checkup.health) {
        case Health::New: // a file without tables that this user may only read
            return {RegistryHive::makeEmpty(setup.file), report};
        case Health::Unreadable: {
            qWarning("registry: cannot open %s: %s", qPrintable(setup.file), qPrintable(checkup.reason));
            if (const long failure = passingFailure(checkup.code))
                return {RegistryHive::makeUnavailable(setup.file, failure), report, false};
            return {RegistryHive::makeEmpty(setup.file), report};
        }
        case Health::Good:
        case Health::Damaged:
            break;
        }

        HiveReport damage{setup.rootName, setup.file, {}, checkup.reason};
        QString error;
        if (report)
            error = QStringLiteral("the fresh hive made in its place is damaged too");
        else if (!writable)
            error = QStringLiteral("this user may not change the folder");
        else
            damage.setAsideAs = setAside(setup.file, &error);
        if (damage.setAsideAs.isEmpty()) {
            damage.reason += QStringLiteral("; it could not be set aside: ") + error;
            return {RegistryHive::makeEmpty(setup.file), damage};
        }
        report = damage; // and open a fresh hive in its place
    }
}

} // namespace qb::reg::detail
