#pragma once
// Data sources from initialization strings: the key "Provider" picks the provider.
//   Provider=SQLite;Data Source=/srv/data/orders.db
//   Provider=ODBC;Driver={PostgreSQL Unicode};Server=db.example;Database=orders;Uid=lee;Pwd=...
#include "dataaccess/Provider.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace qb::data {

// The provider names accepted in "Provider" (compared without regard to case).
QStringList providerNames();

// An uninitialized data source. Throws ProviderError: malformed string (E_INVALIDARG), no or an
// unknown provider (REGDB_E_CLASSNOTREG), each with a description.
std::shared_ptr<DataSource> createDataSource(const QString& initString);

// The same for the initialization string stored in a data link file (DataLinkFile.h).
std::shared_ptr<DataSource> createDataSourceFromFile(const QString& path);

} // namespace qb::data
