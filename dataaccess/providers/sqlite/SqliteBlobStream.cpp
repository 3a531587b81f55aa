#include "dataaccess/providers/sqlite/SqliteBlobStream.h"

#include "dataaccess/InterruptToken.h"
#include "dataaccess/ObjectName.h"
#include "dataaccess/providers/sqlite/SqliteDatabase.h"

#include <algorithm>
#include <sqlite3.h>

namespace qb::data::sqlite {
namespace {

struct Prepared {
    sqlite3_stmt* handle = nullptr;
    Prepared(SqliteDatabase& db, const QString& sql)
    {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &handle, nullptr) != SQLITE_OK)
            handle = nullptr;
    }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    ~Prepared() { sqlite3_finalize(handle); }
};

QByteArray utf8OrEmpty(const char* text)
{
    return text ? QByteArray(text) : QByteArray();
}

} // namespace

std::optional<SequentialStream*> SqliteBlobStream::open(const std::shared_ptr<SqliteDatabase>& db,
                                                        const QString& quotedObject, const QString& rowidName,
                                                        const QString& column, int64_t rowid)
{
    InterruptToken::checkArmed();
    const QString quotedColumn = quoteIdentifierPart(column, QStringLiteral("["), QStringLiteral("]"));
    const QString where = QStringLiteral(" from ") + quotedObject + QStringLiteral(" where ") + rowidName +
                          QStringLiteral(" = ") + QString::number(rowid);
    const SqliteDatabase::Hold hold(*db);
    // The blob handle reads only blobs and text; text would come in the database's encoding,
    // which need not be what reading the row gives, so anything but a blob is read as a row.
    {
        Prepared isBlob(*db, QStringLiteral("select typeof(") + quotedColumn + QStringLiteral(") = 'blob'") + where);
        if (!isBlob.handle)
            return std::nullopt;
        const int rc = db->step(isBlob.handle);
        if (rc != SQLITE_ROW) {
            if (rc != SQLITE_DONE)
                throw db->error(rc);
            return std::nullopt; // the row is gone
        }
        if (sqlite3_column_int(isBlob.handle, 0) != 1)
            return std::nullopt;
    }
    // The names the handle wants, unquoted, as the engine resolves them (an attached database,
    // a column named in another case). Preparing alone tells them; the value is never read here.
    const Prepared origin(*db, QStringLiteral("select ") + quotedColumn + where);
    if (!origin.handle)
        return std::nullopt;
    const QByteArray database = utf8OrEmpty(sqlite3_column_database_name(origin.handle, 0));
    const QByteArray table = utf8OrEmpty(sqlite3_column_table_name(origin.handle, 0));
    const QByteArray name = utf8OrEmpty(sqlite3_column_origin_name(origin.handle, 0));
    if (database.isEmpty() || table.isEmpty() || name.isEmpty())
        return std::nullopt;
    sqlite3_blob* blob = nullptr;
    if (sqlite3_blob_open(db->handle(), database.constData(), table.constData(), name.constData(), rowid, 0, &blob) !=
        SQLITE_OK) {
        sqlite3_blob_close(blob);
        return std::nullopt;
    }
    return new SqliteBlobStream(db, blob);
}

SqliteBlobStream::SqliteBlobStream(std::shared_ptr<SqliteDatabase> db, sqlite3_blob* blob)
    : m_db(std::move(db)), m_blob(blob), m_size(sqlite3_blob_bytes(blob))
{
}

SqliteBlobStream::~SqliteBlobStream()
{
    const SqliteDatabase::Hold hold(*m_db);
    sqlite3_blob_close(m_blob);
}

size_t SqliteBlobStream::read(void* buffer, size_t size)
{
    InterruptToken::checkArmed();
    const int n = int(std::min<size_t>(size, size_t(m_size - m_offset)));
    if (n == 0)
        return 0;
    const SqliteDatabase::Hold hold(*m_db);
    // A change to the row since the handle opened aborts the read rather than mixing two values.
    if (const int rc = sqlite3_blob_read(m_blob, buffer, n, m_offset); rc != SQLITE_OK)
        throw m_db->error(rc);
    m_offset += n;
    return size_t(n);
}

} // namespace qb::data::sqlite
