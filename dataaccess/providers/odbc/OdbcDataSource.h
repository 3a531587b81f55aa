#pragma once
// The ODBC provider's data source: initialize() connects through the driver manager with the
// driver's keys of the initialization string (OdbcConnectString.h).
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Provider.h"

#include <memory>
#include <mutex>

namespace qb::data::odbc {

class OdbcConnection;

class OdbcDataSource final : public DataSource {
public:
    explicit OdbcDataSource(ConnectionString properties) : m_properties(std::move(properties)) {}

    void initialize() override;
    void uninitialize() override;
    bool isInitialized() const override;
    std::shared_ptr<Session> createSession() override;

private:
    ConnectionString m_properties;
    mutable std::mutex m_mutex;
    std::shared_ptr<OdbcConnection> m_connection;
};

} // namespace qb::data::odbc
