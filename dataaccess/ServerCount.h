#pragma once
// The engine's own count of a table or view's rows: one `select count(*)` the server answers
// without sending the rows (SQLite from its b-tree, a database server in place).
#include "dataaccess/Provider.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qb::data {

// The first column of the first row `sql` returns, as an integer: nullopt when there is no row or
// it is NULL. Throws ProviderError.
std::optional<int64_t> firstIntegerOf(Session& session, const QString& sql);

// The row count of the object named by `quotedObject` (already quoted for the session), or
// nullopt when the session refuses or cannot answer the count (the caller then walks the rows).
// A stop (DB_E_CANCELED) is not a refusal: it is thrown as it came.
std::optional<uint64_t> countOnServer(Session& session, const QString& quotedObject);

} // namespace qb::data
