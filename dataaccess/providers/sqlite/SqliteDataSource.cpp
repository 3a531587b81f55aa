#include "dataaccess/providers/sqlite/SqliteDataSource.h"

#include "dataaccess/providers/sqlite/SqliteDatabase.h"
#include "dataaccess/providers/sqlite/SqliteOpenOptions.h"
#include "dataaccess/providers/sqlite/SqliteSession.h"

namespace qb::data::sqlite {

std::shared_ptr<SqliteDatabase> SqliteDataSource::connect(const ConnectionString& properties)
{
    return std::make_shared<SqliteDatabase>(SqliteOpenOptions::from(properties));
}

std::shared_ptr<Session> SqliteDataSource::makeSession(std::shared_ptr<SqliteDatabase> db)
{
    return std::make_shared<SqliteSession>(std::move(db));
}

} // namespace qb::data::sqlite
