#include "dataaccess/providers/sqlite/SqliteDataSource.h"

#include "dataaccess/providers/sqlite/SqliteDatabase.h"
#include "dataaccess/providers/sqlite/SqliteSession.h"

namespace qb::data::sqlite {

void SqliteDataSource::initialize()
{
    const QString mode = m_properties.value(QStringLiteral("Mode")).trimmed();
    const bool readOnly = mode.compare(u"ReadOnly", Qt::CaseInsensitive) == 0 || mode.compare(u"Read", Qt::CaseInsensitive) == 0;
    auto db = std::make_shared<SqliteDatabase>(m_properties.value(QStringLiteral("Data Source")), readOnly);
    std::lock_guard lock(m_mutex);
    m_db = std::move(db);
}

void SqliteDataSource::uninitialize()
{
    std::lock_guard lock(m_mutex);
    m_db.reset(); // sessions and rowsets still open keep the connection until they go
}

bool SqliteDataSource::isInitialized() const
{
    std::lock_guard lock(m_mutex);
    return m_db != nullptr;
}

std::shared_ptr<Session> SqliteDataSource::createSession()
{
    std::lock_guard lock(m_mutex);
    if (!m_db)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The data source is not initialized."));
    return std::make_shared<SqliteSession>(m_db);
}

} // namespace qb::data::sqlite
