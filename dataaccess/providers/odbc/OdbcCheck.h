#pragma once
// The one place where ODBC results become errors. Every call of the provider goes through
// check(): SQL_SUCCESS, SQL_SUCCESS_WITH_INFO and SQL_NO_DATA are returned to the caller; any
// other result throws ProviderError whose description holds the handle's diagnostic records,
// one "[SQLSTATE] message" line each, and whose code is chosen from the first SQLSTATE.
#include "dataaccess/DbTypes.h"

#include <QString>
#include <sql.h>

namespace qb::data::odbc {

struct Diagnostics {
    QString text;       // "[SQLSTATE] message" lines
    QString firstState; // the SQLSTATE of the first record, empty when there is none
    SQLINTEGER firstNative = 0;
};

// `interrupted`: the caller's interrupt token is set, so the failure is reported
// as DB_E_CANCELED whatever the driver says (drivers name a cancelled call in their own ways:
// HY008, PostgreSQL's 57014, SQLite's "interrupted").
SQLRETURN check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, bool interrupted = false);

Diagnostics readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// The result code for an SQLSTATE.
HRESULT resultForState(const QString& sqlState);

} // namespace qb::data::odbc
