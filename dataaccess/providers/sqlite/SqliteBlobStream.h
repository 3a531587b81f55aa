#pragma once
// A blob of a table row read through SQLite's incremental blob handle: the engine copies each
// piece straight from the table's pages into the reader's buffer, where reading the row gathers
// the whole value into memory first (a 100 MB blob: 100 MB allocated and copied once more).
#include "dataaccess/Provider.h"

#include <QString>
#include <memory>
#include <optional>

struct sqlite3_blob;

namespace qb::data::sqlite {

class SqliteDatabase;

class SqliteBlobStream final : public SequentialStream {
public:
    // The blob in `column` of the row of `quotedObject` whose row id (known by `rowidName`) is
    // `rowid`; nullopt when that is no table column, the row is gone, or the value is not a blob
    // (text, a number, NULL): the caller reads the row instead. Throws ProviderError on a stop.
    static std::optional<SequentialStream*> open(const std::shared_ptr<SqliteDatabase>& db, const QString& quotedObject,
                                                 const QString& rowidName, const QString& column, int64_t rowid);

    size_t read(void* buffer, size_t size) override;

private:
    SqliteBlobStream(std::shared_ptr<SqliteDatabase> db, sqlite3_blob* blob);
    ~SqliteBlobStream() override;

    std::shared_ptr<SqliteDatabase> m_db;
    sqlite3_blob* m_blob;
    int m_size;
    int m_offset = 0;
};

} // namespace qb::data::sqlite
