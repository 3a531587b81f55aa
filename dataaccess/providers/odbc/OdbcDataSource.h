#pragma once
// The ODBC provider's data source: initialize() connects through the driver manager with the
// driver's keys of the initialization string (OdbcConnectString.h).
#include "dataaccess/LinkedDataSource.h"

namespace qb::data::odbc {

class OdbcConnection;

class OdbcDataSource final : public LinkedDataSource<OdbcConnection> {
public:
    using LinkedDataSource::LinkedDataSource;

protected:
    std::shared_ptr<OdbcConnection> connect(const ConnectionString& properties) override;
    std::shared_ptr<Session> makeSession(std::shared_ptr<OdbcConnection> connection) override;
};

} // namespace qb::data::odbc
