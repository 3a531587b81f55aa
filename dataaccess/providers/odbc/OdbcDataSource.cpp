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

std::shared_ptr<OdbcConnection> OdbcDataSource::connect(const ConnectionString& properties)
{
    return std::make_shared<OdbcConnection>(properties);
}

std::shared_ptr<Session> OdbcDataSource::makeSession(std::shared_ptr<OdbcConnection> connection)
{
    return std::make_shared<OdbcSession>(std::move(connection));
}

} // namespace odbc
} // namespace qb::data
