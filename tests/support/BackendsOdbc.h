#pragma once
// The ODBC test backends ("sqliteodbc", "postgres"), made by makeBackend for those names.
#include "support/Backends.h"

#include <memory>
#include <string>

namespace qbtest {

// A backend with a fresh database for "sqliteodbc" or "postgres"; nullptr for any other name.
// "postgres" throws std::runtime_error when the QB_PG_* variables of scripts/test-services.sh are
// missing, so a suite run without the server fails instead of passing quietly.
std::unique_ptr<Backend> makeOdbcBackend(const std::string& name, const TempDir& scratch);

} // namespace qbtest
