#pragma once
// The SQLite provider's data source; its keys are in SqliteOpenOptions.h.
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
