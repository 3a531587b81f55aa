#pragma once
// The SQLite provider's data source. Keys of the initialization string:
//   Data Source   the database file; it must exist (never created here)
//   Mode          "ReadOnly" (or "Read") opens the file read-only; anything else read-write
// Other keys are ignored.
#include "dataaccess/ConnectionString.h"
#include "dataaccess/Provider.h"

#include <memory>
#include <mutex>

namespace qb::data::sqlite {

class SqliteDatabase;

class SqliteDataSource final : public DataSource {
public:
    explicit SqliteDataSource(ConnectionString properties) : m_properties(std::move(properties)) {}

    void initialize() override;
    void uninitialize() override;
    bool isInitialized() const override;
    std::shared_ptr<Session> createSession() override;

private:
    ConnectionString m_properties;
    mutable std::mutex m_mutex;
    std::shared_ptr<SqliteDatabase> m_db;
};

} // namespace qb::data::sqlite
