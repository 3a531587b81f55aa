#include "dataaccess/LibraryVersions.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace qb::data {

QString sqliteLibraryVersion()
{
    return QString::fromLatin1(sqlite3_libversion());
}

QString odbcDriverManagerVersion()
{
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return QString();
    QString version;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        // The driver manager answers this one itself, without a connection.
        SQLCHAR buffer[64] = {};
        SQLSMALLINT length = 0;
        if (SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DM_VER, buffer, sizeof buffer, &length)))
            version = QString::fromLatin1(reinterpret_cast<const char*>(buffer));
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return version;
}

} // namespace qb::data
