#include "dataaccess/providers/sqlite/SqliteSession.h"

#include "dataaccess/InterruptToken.h"
#include "dataaccess/MemoryRowset.h"
#include "dataaccess/ObjectName.h"
#include "dataaccess/providers/sqlite/SqliteBlobStream.h"
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
    SqliteDatabase::Hold hold(db);
    int rc;
    while ((rc = db.step(statement)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throw db.error(rc);
}

// Prepares the first statement of [text, end); *statement stays null for blanks or a comment.
void prepare(SqliteDatabase& db, const char* text, const char* end, sqlite3_stmt** statement, const char** tail)
{
    SqliteDatabase::Hold hold(db);
    const int rc = sqlite3_prepare_v2(db.handle(), text, int(end - text), statement, tail);
    if (rc != SQLITE_OK)
        throw db.error(rc);
}

// One row of a query that reads the catalogue: false at its end; throws on failure.
bool stepCatalogue(SqliteDatabase& db, sqlite3_stmt* statement)
{
    SqliteDatabase::Hold hold(db);
    const int rc = db.step(statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        throw db.error(rc);
    return false;
}

} // namespace

std::unique_ptr<Rowset> SqliteSession::execute(const QString& sql, int64_t* rowsAffected)
{
    const QByteArray text = sql.toUtf8();
    const char* tail = text.constData();
    const char* end = tail + text.size();
    Statement withRows; // the latest statement with result columns, returned when it is the last
    while (tail < end) {
        InterruptToken::checkArmed(); // also between the statements of one text
        Statement statement;
        const char* next = nullptr;
        prepare(*m_db, tail, end, &statement.handle, &next);
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

    InterruptToken::checkArmed();
    std::vector<QString> databases;
    {
        Statement list;
        const char listSql[] = "PRAGMA database_list";
        prepare(*m_db, listSql, listSql + sizeof listSql - 1, &list.handle, nullptr);
        while (stepCatalogue(*m_db, list.handle))
            databases.push_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list.handle, 1))));
    }
    for (const QString& database : databases) {
        const QString catalogue = database == u"temp" ? QStringLiteral("sqlite_temp_master") : QStringLiteral("sqlite_master");
        const QString sql = QStringLiteral("SELECT name, type FROM %1.%2 WHERE type IN ('table','view') "
                                           "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' %3 ORDER BY name")
                                .arg(quoteIdentifierPart(database, QStringLiteral("["), QStringLiteral("]")), catalogue,
                                     type.isEmpty() ? QString() : QStringLiteral("AND type = '%1'").arg(type.toLower()));
        Statement query;
        const QByteArray text = sql.toUtf8();
        prepare(*m_db, text.constData(), text.constData() + text.size(), &query.handle, nullptr);
        const QVariant schema = database == u"main" ? QVariant() : QVariant(database);
        while (stepCatalogue(*m_db, query.handle)) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query.handle, 0)));
            const QString kind = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query.handle, 1)));
            rows.push_back({QVariant(), schema, name, kind.toUpper(), QVariant()});
        }
    }
    return std::make_unique<MemoryRowset>(std::move(columns), std::move(rows));
}

std::unique_ptr<Rowset> SqliteSession::proceduresSchema()
{
    std::vector<ColumnInfo> columns = {textColumn("PROCEDURE_CATALOG", 1), textColumn("PROCEDURE_SCHEMA", 2),
                                       textColumn("PROCEDURE_NAME", 3),    {QStringLiteral("PROCEDURE_TYPE"), 4, 2, DBTYPE_I2},
                                       textColumn("DESCRIPTION", 5),       textColumn("PROCEDURE_DEFINITION", 6)};
    InterruptToken::checkArmed();
    return std::make_unique<MemoryRowset>(std::move(columns), std::vector<MemoryRowset::Row>{});
}

std::optional<SequentialStream*> SqliteSession::openBlobByRowid(const QString& quotedObject, const QString& rowidName,
                                                               const QString& column, int64_t rowid)
{
    return SqliteBlobStream::open(m_db, quotedObject, rowidName, column, rowid);
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

} // namespace qb::data::sqlite
