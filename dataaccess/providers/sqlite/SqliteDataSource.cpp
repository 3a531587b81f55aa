#include "dataaccess/providers/sqlite/SqliteDataSource.h"

#include "dataaccess/providers/sqlite/SqliteDatabase.h"
#include "dataaccess/providers/sqlite/SqliteSession.h"

namespace qb::data::sqlite {

std::shared_ptr<SqliteDatabase> SqliteDataSource::connect(const ConnectionString& properties)
{
    const QString mode = properties.value(QStringLiteral("Mode")).trimmed();
    const bool readOnly = mode.compare(u"ReadOnly", Qt::CaseInsensitive) == 0 || mode.compare(u"Read", Qt::CaseInsensitive) == 0;
    return std::make_shared<SqliteDatabase>(properties.value(QStringLiteral("Data Source")), readOnly);
}

std::shared_ptr<Session> SqliteDataSource::makeSession(std::shared_ptr<SqliteDatabase> db)
{
    return std::make_shared<SqliteSession>(std::move(db));
}

} // namespace qb::data::sqlite
