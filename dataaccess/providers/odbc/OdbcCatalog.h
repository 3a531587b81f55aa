#pragma once
// The schema rowsets of the ODBC provider, read from SQLTables and SQLProcedures and shaped as
// the Session interface states (column names, order and types fixed, whatever the driver calls
// its columns). They are read whole into memory: schema results are small, and a rowset held in
// memory restarts without asking the server again.
//
// Tables: every schema ("%": psqlODBC would search only the current schema for NULL) and the
// asked type ("TABLE", "VIEW"; empty for all). System schemas are the driver's business there:
// psqlODBC leaves them out unless ShowSystemTables=1.
// Procedures: SQLProcedures over every schema; for PostgreSQL, the functions of pg_catalog,
// information_schema and the pg_toast/pg_temp schemas (thousands) are left out unless the
// connection string sets ShowSystemTables=1. PROCEDURE_TYPE carries the driver's SQL_PT_* value in
// the schema's own codes: SQL_PT_UNKNOWN (0) -> 1, SQL_PT_PROCEDURE (1) -> 2, SQL_PT_FUNCTION (2) -> 3
// (psqlODBC says SQL_PT_FUNCTION for functions and procedures alike, so both show as functions).
// PROCEDURE_DEFINITION is always NULL: ODBC has no way to ask for it.
#include "dataaccess/Provider.h"

#include <QString>
#include <memory>

namespace qb::data::odbc {

class OdbcConnection;

std::unique_ptr<Rowset> readTablesSchema(const std::shared_ptr<OdbcConnection>& connection, const QString& tableType);
std::unique_ptr<Rowset> readProceduresSchema(const std::shared_ptr<OdbcConnection>& connection);

} // namespace qb::data::odbc
