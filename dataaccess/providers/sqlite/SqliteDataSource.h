#pragma once
// The SQLite provider's data source. Keys of the initialization string:
//   Data Source   the database file; it must exist (never created here)
//   Mode          "ReadOnly" (or "Read") opens the file read-only; anything else read-write
// Other keys are ignored.
#include "dataaccess/LinkedDataSource.h"

namespace qb::data::sqlite {

class SqliteDatabase;

class SqliteDataSource final : public LinkedDataSource<SqliteDatabase> {
public:
    using LinkedDataSource::LinkedDataSource;

protected:
    std::shared_ptr<SqliteDatabase> connect(const ConnectionString& properties) override;
    std::shared_ptr<Session> makeSession(std::shared_ptr<SqliteDatabase> db) override;
};

} // namespace qb::data::sqlite
