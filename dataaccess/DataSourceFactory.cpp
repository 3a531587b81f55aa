#include "dataaccess/DataSourceFactory.h"

#include "dataaccess/ConnectionString.h"
#include "dataaccess/DataLinkFile.h"
#include "dataaccess/providers/odbc/OdbcProvider.h"
#include "dataaccess/providers/sqlite/SqliteDataSource.h"

namespace qb::data {

QStringList providerNames()
{
    return {QStringLiteral("SQLite"), QStringLiteral("ODBC")};
}

std::shared_ptr<DataSource> createDataSource(const QString& initString)
{
    ConnectionString properties = ConnectionString::parse(initString);
    const QString provider = properties.value(QStringLiteral("Provider")).trimmed();
    if (provider.isEmpty())
        throw ProviderError(REGDB_E_CLASSNOTREG,
                            QStringLiteral("The connection string names no provider (\"Provider=...\"); known providers: %1.")
                                .arg(providerNames().join(QStringLiteral(", "))));
    if (provider.compare(u"SQLite", Qt::CaseInsensitive) == 0)
        return std::make_shared<sqlite::SqliteDataSource>(std::move(properties));
    if (provider.compare(u"ODBC", Qt::CaseInsensitive) == 0)
        return createOdbcDataSource(initString);
    throw ProviderError(REGDB_E_CLASSNOTREG, QStringLiteral("The provider \"%1\" is not known; known providers: %2.")
                                                 .arg(excerptOf(provider), providerNames().join(QStringLiteral(", "))));
}

std::shared_ptr<DataSource> createDataSourceFromFile(const QString& path)
{
    return createDataSource(readDataLinkFile(path));
}

} // namespace qb::data
