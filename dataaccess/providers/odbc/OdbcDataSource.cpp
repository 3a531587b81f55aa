#include "dataaccess/providers/odbc/OdbcDataSource.h"

#include "dataaccess/providers/odbc/OdbcConnection.h"
#include "dataaccess/providers/odbc/OdbcProvider.h"
#include "dataaccess/providers/odbc/OdbcSession.h"

namespace qb::data {

std::shared_ptr<DataSource> createOdbcDataSource(const QString& initString)
{
    return std::make_shared<odbc::OdbcDataSource>(ConnectionString::parse(initString));
}

namespace odbc {

void OdbcDataSource::initialize()
{
    auto connection = std::make_shared<OdbcConnection>(m_properties);
    std::lock_guard lock(m_mutex);
    m_connection = std::move(connection);
}

void OdbcDataSource::uninitialize()
{
    std::lock_guard lock(m_mutex);
    m_connection.reset(); // sessions and rowsets still open keep the connection until they go
}

bool OdbcDataSource::isInitialized() const
{
    std::lock_guard lock(m_mutex);
    return m_connection != nullptr;
}

std::shared_ptr<Session> OdbcDataSource::createSession()
{
    std::lock_guard lock(m_mutex);
    if (!m_connection)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The data source is not initialized."));
    return std::make_shared<OdbcSession>(m_connection);
}

} // namespace odbc
} // namespace qb::data
