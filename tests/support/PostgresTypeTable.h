#pragma once
// A table of PostgreSQL values as a new user would try them (json, uuid, network addresses,
// intervals, money, wide numerics, bytea, timestamps with microseconds and time zones, arrays,
// geometry, xml, text search, bit strings, an enum, ranges, booleans, infinities and dates before
// year 1), and psql's own text of its rows, the reference the suites compare our texts with.
#include "support/Backends.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace qbtest {

class TempDir;

// Marks a NULL in psqlRows' result (psql's null display).
inline constexpr char16_t kPsqlNull[] = u"\x1a(null)";

// Table "vals" (and its enum type) in a fresh database of the private server, with psql's text of
// its rows.
class PostgresTypeTable {
public:
    // Throws std::runtime_error when the server or psql cannot be reached.
    explicit PostgresTypeTable(const TempDir& scratch);

    // The query that reads the table, in a fixed row order.
    static QString query() { return QStringLiteral("select * from vals order by id"); }
    QString connectionString() const { return m_backend->connectionString(); }
    // Each row's fields as psql prints them, in the order of query(); kPsqlNull for NULL.
    const std::vector<QStringList>& psqlRows() const { return m_psqlRows; }

private:
    std::unique_ptr<Backend> m_backend;
    std::vector<QStringList> m_psqlRows;
};

// psql's text of a non-NULL cell of table "vals" (column name, row id) as it can come through
// psqlODBC, whose known differences are stated here one by one; nullopt where the driver cannot
// give the value at all. Booleans, bytea and long values are each suite's own business.
std::optional<QString> throughPsqlodbc(const QString& column, int id, const QString& psqlText);

} // namespace qbtest
