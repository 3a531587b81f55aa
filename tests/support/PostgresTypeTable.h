#pragma once
// A table of PostgreSQL values as a new user would try them (json, uuid, network addresses,
// intervals, money, wide numerics, bytea, timestamps with microseconds and time zones, arrays,
// geometry, xml, text search, bit strings, an enum, ranges, booleans, infinities and dates before
// year 1), and psql's own text of its rows, the reference the suites compare our texts with.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qbtest {

// Statements that make table "vals" (and its enum type) in the backend's database.
QStringList postgresTypeTableSetup();
// The query that reads it back, in a fixed row order.
inline constexpr char16_t kPostgresTypeQuery[] = u"select * from vals order by id";

// Marks a NULL in psqlRows' result (psql's null display).
inline constexpr char16_t kPsqlNull[] = u"\x1a(null)";

// Runs `query` with psql (QB_PG_BIN) on the private server's socket (QB_PG_SOCKET, QB_PG_PORT,
// QB_PG_USER) in the database named by `connectionString`, and returns each row's fields as psql
// prints them. Throws std::runtime_error when psql fails.
std::vector<QStringList> psqlRows(const QString& connectionString, const QString& query);

// psql's text of a non-NULL cell of table "vals" (column name, row id) as it can come through
// psqlODBC, whose known differences are stated here one by one; nullopt where the driver cannot
// give the value at all. Booleans, bytea and long values are each suite's own business.
std::optional<QString> throughPsqlodbc(const QString& column, int id, const QString& psqlText);

} // namespace qbtest
