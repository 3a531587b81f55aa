#include "platform/RegistryHive.h"

#include "platform/RegistryNames.h"

#include <QtGlobal>
#include <sqlite3.h>

#include <chrono>
#include <new>
#include <thread>

namespace qb::reg::detail {

namespace {

struct SqliteFailure {
    int code;
};

// Another process may hold the hive for a moment (a write, a checkpoint, recovery after a crash);
// the busy timeout covers most of that, the retries the rest.
constexpr auto lockedHiveDeadline = std::chrono::seconds(30);
constexpr int busyTimeoutMs = 10000;

constexpr int applicationId = 0x71626876; // marks our hives among SQLite files
constexpr int schemaVersion = 1;

bool isBusy(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

long resultFor(int code)
{
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_BUSY;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
        return ERROR_ACCESS_DENIED;
    case SQLITE_TOOBIG:
        return ERROR_INVALID_PARAMETER;
    default:
        return ERROR_BADDB;
    }
}

// Keys number with AUTOINCREMENT so that a deleted key's id is never reused: an open handle to a
// deleted key must not wake up on a newer key. Values number in creation order; an overwrite
// updates the row in place and so keeps the value's place.
const char* const schemaScript = R"sql(
BEGIN IMMEDIATE;
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER,
    name TEXT NOT NULL,
    fold BLOB NOT NULL,
    sortkey BLOB NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS keys_by_name ON keys(parent, fold);
CREATE INDEX IF NOT EXISTS keys_in_order ON keys(parent, sortkey, fold);
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL,
    name TEXT NOT NULL,
    fold BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS vals_by_name ON vals(key, fold);
CREATE INDEX IF NOT EXISTS vals_in_order ON vals(key, id);
INSERT OR IGNORE INTO keys(id, parent, name, fold, sortkey) VALUES(1, NULL, '', x'', x'');
PRAGMA application_id = 1902274678;
PRAGMA user_version = 1;
COMMIT;
)sql";
static_assert(applicationId == 1902274678, "schemaScript spells the application id out");

int64_t singleInteger(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    int64_t result = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        result = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return result;
}

} // namespace

// A cached statement in use: binds in order, steps, and is reset for the next use when it goes.
class RegistryHive::Query {
public:
    explicit Query(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~Query()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& bind(int64_t number) { return check(sqlite3_bind_int64(m_stmt, ++m_index, number)); }
    Query& bind(const QString& text)
    {
        return check(sqlite3_bind_text16(m_stmt, ++m_index, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT));
    }
    Query& bind(const QByteArray& bytes) { return check(sqlite3_bind_blob64(m_stmt, ++m_index, bytes.constData(), bytes.size(), SQLITE_TRANSIENT)); }
    // The caller's bytes must outlive the query's steps. A zero-length blob, not NULL, for no data.
    Query& bindData(const void* data, uint32_t size)
    {
        if (size == 0)
            return check(sqlite3_bind_zeroblob(m_stmt, ++m_index, 0));
        return check(sqlite3_bind_blob64(m_stmt, ++m_index, data, size, SQLITE_STATIC));
    }

    bool next()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw SqliteFailure{rc};
    }
    void run()
    {
        while (next()) {
        }
    }

    int64_t integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        const void* units = sqlite3_column_text16(m_stmt, column);
        return QString(static_cast<const QChar*>(units), sqlite3_column_bytes16(m_stmt, column) / 2);
    }
    // UTF-16 code units of a text column.
    uint32_t textLength(int column) const { return uint32_t(sqlite3_column_bytes16(m_stmt, column) / 2); }
    QByteArray blob(int column) const
    {
        const void* bytes = sqlite3_column_blob(m_stmt, column);
        return QByteArray(static_cast<const char*>(bytes), sqlite3_column_bytes(m_stmt, column));
    }

private:
    Query& check(int rc)
    {
        if (rc != SQLITE_OK)
            throw SqliteFailure{rc};
        return *this;
    }

    sqlite3_stmt* m_stmt;
    int m_index = 0;
};

RegistryHive::RegistryHive(sqlite3* db, QString path, bool readOnly)
    : m_db(db), m_path(std::move(path)), m_readOnly(readOnly)
{
    if (m_db) {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, busyTimeoutMs);
    }
}

RegistryHive::~RegistryHive()
{
    close();
}

std::shared_ptr<RegistryHive> RegistryHive::makeEmpty(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (!createSchema(db))
        qFatal("registry: cannot make an empty hive: %s", sqlite3_errmsg(db));
    return std::make_shared<RegistryHive>(db, path, true);
}

std::shared_ptr<RegistryHive> RegistryHive::makeUnavailable(const QString& path, long result)
{
    auto hive = std::make_shared<RegistryHive>(nullptr, path, true);
    hive->m_unavailable = result;
    return hive;
}

bool RegistryHive::createSchema(sqlite3* db)
{
    if (sqlite3_exec(db, schemaScript, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    if (!sqlite3_get_autocommit(db))
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

bool RegistryHive::hasSchema(sqlite3* db)
{
    return singleInteger(db, "PRAGMA application_id") == applicationId
        && singleInteger(db, "PRAGMA user_version") == schemaVersion
        && singleInteger(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN ('keys', 'vals')") == 2
        && singleInteger(db, "SELECT count(*) FROM keys WHERE id = 1 AND parent IS NULL") == 1;
}

void RegistryHive::close()
{
    std::lock_guard lock(m_mutex);
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
    if (m_db)
        sqlite3_close(m_db);
    m_db = nullptr;
}

template <class Body>
long RegistryHive::transaction(Access access, Body&& body)
{
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return m_unavailable;
    if (access == Access::Write && m_readOnly)
        return ERROR_ACCESS_DENIED;
    const auto deadline = std::chrono::steady_clock::now() + lockedHiveDeadline;
    for (;;) {
        try {
            // Writers take the write lock up front, so they wait for each other in the busy
            // handler instead of failing when a read lock cannot be upgraded.
            execute(access == Access::Write ? "BEGIN IMMEDIATE" : "BEGIN");
            const long result = body();
            execute(result == ERROR_SUCCESS ? "COMMIT" : "ROLLBACK");
            return result;
        } catch (const SqliteFailure& failure) {
            if (!sqlite3_get_autocommit(m_db))
                sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            if (isBusy(failure.code) && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            const long result = resultFor(failure.code);
            if (result == ERROR_BADDB)
                qWarning("registry: %s: %s", qPrintable(m_path), sqlite3_errstr(failure.code));
            return result;
        } catch (const std::bad_alloc&) { // a value too large to copy: the caller gets a code, not an exception
            if (!sqlite3_get_autocommit(m_db))
                sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return ERROR_BADDB;
        }
    }
}

RegistryHive::Query RegistryHive::query(const char* sql)
{
    sqlite3_stmt*& stmt = m_statements[sql];
    if (!stmt) {
        const int rc = sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            m_statements.erase(sql);
            throw SqliteFailure{rc};
        }
    }
    return Query(stmt);
}

void RegistryHive::execute(const char* sql)
{
    query(sql).run();
}

bool RegistryHive::keyExists(int64_t key)
{
    return query("SELECT 1 FROM keys WHERE id = ?").bind(key).next();
}

int64_t RegistryHive::findSubKey(int64_t parent, const QString& name)
{
    Query q = query("SELECT id FROM keys WHERE parent = ? AND fold = ?");
    q.bind(parent).bind(nameIdentity(name));
    return q.next() ? q.integer(0) : 0;
}

bool RegistryHive::findValue(int64_t key, const QString& name, StoredValue* value)
{
    Query q = query("SELECT name, type, data FROM vals WHERE key = ? AND fold = ?");
    q.bind(key).bind(nameIdentity(name));
    if (!q.next())
        return false;
    *value = {q.text(0), uint32_t(q.integer(1)), q.blob(2)};
    return true;
}

int64_t RegistryHive::depthOf(int64_t key)
{
    Query q = query("WITH RECURSIVE up(id, depth) AS (SELECT parent, 0 FROM keys WHERE id = ?1 "
                    "UNION ALL SELECT keys.parent, up.depth + 1 FROM keys JOIN up ON keys.id = up.id) "
                    "SELECT max(depth) FROM up");
    q.bind(key);
    return q.next() ? q.integer(0) : 0;
}

void RegistryHive::deleteBelow(int64_t key)
{
    query("WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
          "DELETE FROM vals WHERE key IN tree")
        .bind(key)
        .run();
    query("WITH RECURSIVE tree(id) AS (SELECT id FROM keys WHERE parent = ?1 "
          "UNION ALL SELECT keys.id FROM keys JOIN tree ON keys.parent = tree.id) "
          "DELETE FROM keys WHERE id IN tree")
        .bind(key)
        .run();
}

long RegistryHive::openKey(int64_t from, const QStringList& names, int64_t* key)
{
    return transaction(Access::Read, [&]() -> long {
        if (!keyExists(from))
            return ERROR_KEY_DELETED;
        int64_t id = from;
        for (const QString& name : names) {
            id = findSubKey(id, name);
            if (!id)
                return ERROR_FILE_NOT_FOUND;
        }
        *key = id;
        return ERROR_SUCCESS;
    });
}

long RegistryHive::createKey(int64_t from, const QStringList& names, int64_t* key, bool* created)
{
    // Opening an existing key needs no write: it also works in a hive this user may only read.
    *created = false;
    const long opened = openKey(from, names, key);
    if (opened != ERROR_FILE_NOT_FOUND)
        return opened;
    return transaction(Access::Write, [&]() -> long {
        if (!keyExists(from))
            return ERROR_KEY_DELETED;
        if (depthOf(from) + names.size() > kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
        int64_t id = from;
        bool made = false;
        for (const QString& name : names) {
            const int64_t existing = findSubKey(id, name);
            made = existing == 0;
            if (made) {
                query("INSERT INTO keys(parent, name, fold, sortkey) VALUES(?, ?, ?, ?)")
                    .bind(id)
                    .bind(name)
                    .bind(nameIdentity(name))
                    .bind(nameOrder(name))
                    .run();
                id = sqlite3_last_insert_rowid(m_db);
            } else {
                id = existing;
            }
        }
        *key = id;
        *created = made;
        return ERROR_SUCCESS;
    });
}

long RegistryHive::setValue(int64_t key, const QString& name, uint32_t type, const void* data, uint32_t size)
{
    return transaction(Access::Write, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        // The first spelling of the name stays; an overwrite keeps the value's row and so its place.
        query("INSERT INTO vals(key, name, fold, type, data) VALUES(?, ?, ?, ?, ?) "
              "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data")
            .bind(key)
            .bind(name)
            .bind(nameIdentity(name))
            .bind(int64_t(type))
            .bindData(data, size)
            .run();
        return ERROR_SUCCESS;
    });
}

long RegistryHive::queryValue(int64_t key, const QString& name, StoredValue* value)
{
    return transaction(Access::Read, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        return findValue(key, name, value) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

long RegistryHive::deleteValue(int64_t key, const QString& name)
{
    return transaction(Access::Write, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        query("DELETE FROM vals WHERE key = ? AND fold = ?").bind(key).bind(nameIdentity(name)).run();
        return sqlite3_changes(m_db) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

long RegistryHive::enumKey(int64_t key, uint32_t index, QString* name)
{
    return transaction(Access::Read, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        Query q = query("SELECT name FROM keys WHERE parent = ? ORDER BY sortkey, fold LIMIT 1 OFFSET ?");
        q.bind(key).bind(int64_t(index));
        if (!q.next())
            return ERROR_NO_MORE_ITEMS;
        *name = q.text(0);
        return ERROR_SUCCESS;
    });
}

long RegistryHive::enumValue(int64_t key, uint32_t index, StoredValue* value)
{
    return transaction(Access::Read, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        Query q = query("SELECT name, type, data FROM vals WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?");
        q.bind(key).bind(int64_t(index));
        if (!q.next())
            return ERROR_NO_MORE_ITEMS;
        *value = {q.text(0), uint32_t(q.integer(1)), q.blob(2)};
        return ERROR_SUCCESS;
    });
}

long RegistryHive::queryInfo(int64_t key, KeyInfo* info)
{
    return transaction(Access::Read, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        KeyInfo found;
        Query subKeys = query("SELECT name FROM keys WHERE parent = ?");
        subKeys.bind(key);
        while (subKeys.next()) {
            ++found.subKeys;
            found.maxSubKeyLen = std::max(found.maxSubKeyLen, subKeys.textLength(0));
        }
        Query values = query("SELECT name, length(data) FROM vals WHERE key = ?");
        values.bind(key);
        while (values.next()) {
            ++found.values;
            found.maxValueNameLen = std::max(found.maxValueNameLen, values.textLength(0));
            found.maxValueLen = std::max(found.maxValueLen, uint32_t(values.integer(1)));
        }
        *info = found;
        return ERROR_SUCCESS;
    });
}

long RegistryHive::deleteTree(int64_t key, const QStringList& names)
{
    return transaction(Access::Write, [&]() -> long {
        if (!keyExists(key))
            return ERROR_KEY_DELETED;
        int64_t target = key;
        for (const QString& name : names) {
            target = findSubKey(target, name);
            if (!target)
                return ERROR_FILE_NOT_FOUND;
        }
        deleteBelow(target);
        if (!names.isEmpty())
            query("DELETE FROM keys WHERE id = ?").bind(target).run();
        return ERROR_SUCCESS;
    });
}

} // namespace qb::reg::detail
