#pragma once
// The ODBC provider: "Provider=ODBC;Driver={...};key=value;..." connects through unixODBC with
// every key but Provider handed to the driver.
#include "dataaccess/Provider.h"

#include <QString>
#include <memory>

namespace qb::data {

// An uninitialized data source for the initialization string; initialize() connects.
std::shared_ptr<DataSource> createOdbcDataSource(const QString& initString);

} // namespace qb::data
