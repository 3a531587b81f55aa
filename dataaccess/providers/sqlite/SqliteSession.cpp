#include "dataaccess/providers/sqlite/SqliteSession.h"

#include "dataaccess/MemoryRowset.h"
#include "dataaccess/ObjectName.h"
#include "dataaccess/providers/sqlite/SqliteDatabase.h"
#include "dataaccess/providers/sqlite/SqliteRowset.h"

#include <sqlite3.h>

namespace qb::data::sqlite {
namespace {

constexpr uint32_t kSchemaTextSize = 128;

ColumnInfo textColumn(const char* name, uint32_t ordinal)
{
    return {QString::fromLatin1(name), ordinal, kSchemaTextSize, DBTYPE_WSTR};
}

struct Statement {
    sqlite3_stmt* handle = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(handle); }
    void reset(sqlite3_stmt* h = nullptr)
    {
        sqlite3_finalize(handle);
        handle = h;
    }
    sqlite3_stmt* release()
    {
        sqlite3_stmt* h = handle;
        handle = nullptr;
        return h;
    }
};

// Steps a statement to its end; throws on failure.
void runToEnd(SqliteDatabase& db, sqlite3_stmt* statement)
{
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throw db.error(rc);
}

} // namespace

std::unique_ptr<Rowset> SqliteSession::execute(const QString& sql, int64_t* rowsAffected)
{
    m_db->clearInterrupt();
    const QByteArray text = sql.toUtf8();
    const char* tail = text.constData();
    const char* end = tail + text.size();
    Statement withRows; // the latest statement with result columns, returned when it is the last
    while (tail < end) {
        Statement statement;
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(m_db->handle(), tail, int(end - tail), &statement.handle, &next);
        if (rc != SQLITE_OK)
            throw m_db->error(rc);
        tail = next;
        if (!statement.handle)
            continue; // only blanks or a comment
        if (withRows.handle) {
            runToEnd(*m_db, withRows.handle);
            withRows.reset();
        }
        if (sqlite3_column_count(statement.handle) > 0) {
            withRows.reset(statement.release());
            continue;
        }
        // sqlite3_changes keeps the count of the last INSERT, UPDATE or DELETE across other
        // statements (CREATE, BEGIN, ...): those changed nothing.
        const sqlite3_int64 before = sqlite3_total_changes64(m_db->handle());
        runToEnd(*m_db, statement.handle);
        if (rowsAffected)
            *rowsAffected = sqlite3_total_changes64(m_db->handle()) == before ? 0 : sqlite3_changes64(m_db->handle());
    }
    if (!withRows.handle)
        return nullptr;
    if (rowsAffected)
        *rowsAffected = -1;
    return std::make_unique<SqliteRowset>(m_db, withRows.release());
}

std::unique_ptr<Rowset> SqliteSession::tablesSchema(const QString& tableType)
{
    std::vector<ColumnInfo> columns = {textColumn("TABLE_CATALOG", 1), textColumn("TABLE_SCHEMA", 2),
                                       textColumn("TABLE_NAME", 3), textColumn("TABLE_TYPE", 4),
                                       textColumn("DESCRIPTION", 5)};
    std::vector<MemoryRowset::Row> rows;
    const QString type = tableType.trimmed().toUpper();
    if (!type.isEmpty() && type != u"TABLE" && type != u"VIEW")
        return std::make_unique<MemoryRowset>(std::move(columns), std::move(rows));

    m_db->clearInterrupt();
    std::vector<QString> databases;
    {
        Statement list;
        int rc = sqlite3_prepare_v2(m_db->handle(), "PRAGMA database_list", -1, &list.handle, nullptr);
        if (rc != SQLITE_OK)
            throw m_db->error(rc);
        while ((rc = sqlite3_step(list.handle)) == SQLITE_ROW)
            databases.push_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list.handle, 1))));
        if (rc != SQLITE_DONE)
            throw m_db->error(rc);
    }
    for (const QString& database : databases) {
        const QString catalogue = database == u"temp" ? QStringLiteral("sqlite_temp_master") : QStringLiteral("sqlite_master");
        const QString sql = QStringLiteral("SELECT name, type FROM %1.%2 WHERE type IN ('table','view') "
                                           "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' %3 ORDER BY name")
                                .arg(quoteIdentifierPart(database, QStringLiteral("["), QStringLiteral("]")), catalogue,
                                     type.isEmpty() ? QString() : QStringLiteral("AND type = '%1'").arg(type.toLower()));
        Statement query;
        int rc = sqlite3_prepare_v2(m_db->handle(), sql.toUtf8().constData(), -1, &query.handle, nullptr);
        if (rc != SQLITE_OK)
            throw m_db->error(rc);
        const QVariant schema = database == u"main" ? QVariant() : QVariant(database);
        while ((rc = sqlite3_step(query.handle)) == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query.handle, 0)));
            const QString kind = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query.handle, 1)));
            rows.push_back({QVariant(), schema, name, kind.toUpper(), QVariant()});
        }
        if (rc != SQLITE_DONE)
            throw m_db->error(rc);
    }
    return std::make_unique<MemoryRowset>(std::move(columns), std::move(rows));
}

std::unique_ptr<Rowset> SqliteSession::proceduresSchema()
{
    std::vector<ColumnInfo> columns = {textColumn("PROCEDURE_CATALOG", 1), textColumn("PROCEDURE_SCHEMA", 2),
                                       textColumn("PROCEDURE_NAME", 3),    {QStringLiteral("PROCEDURE_TYPE"), 4, 2, DBTYPE_I2},
                                       textColumn("DESCRIPTION", 5),       textColumn("PROCEDURE_DEFINITION", 6)};
    return std::make_unique<MemoryRowset>(std::move(columns), std::vector<MemoryRowset::Row>{});
}

void SqliteSession::startTransaction()
{
    m_db->exec("BEGIN");
}

void SqliteSession::commit()
{
    m_db->exec("COMMIT");
}

void SqliteSession::abort()
{
    m_db->exec("ROLLBACK");
}

void SqliteSession::interrupt()
{
    m_db->interrupt();
}

} // namespace qb::data::sqlite
