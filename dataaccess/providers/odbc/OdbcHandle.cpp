#include "dataaccess/providers/odbc/OdbcHandle.h"

#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcCheck.h"

namespace qb::data::odbc {

OdbcHandle OdbcHandle::allocate(SQLSMALLINT type, SQLSMALLINT parentType, SQLHANDLE parent)
{
    SQLHANDLE handle = SQL_NULL_HANDLE;
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle);
    if (!SQL_SUCCEEDED(rc)) {
        if (parent == SQL_NULL_HANDLE)
            throw ProviderError(E_FAIL, QStringLiteral("The ODBC driver manager could not allocate an environment."));
        check(rc, parentType, parent);
        throw ProviderError(E_FAIL, QStringLiteral("The ODBC driver manager could not allocate a handle."));
    }
    return OdbcHandle(type, handle);
}

void OdbcHandle::reset()
{
    if (m_handle != SQL_NULL_HANDLE) {
        if (m_type == SQL_HANDLE_DBC)
            SQLDisconnect(m_handle); // fails harmlessly when not connected
        SQLFreeHandle(m_type, m_handle);
        m_handle = SQL_NULL_HANDLE;
    }
}

} // namespace qb::data::odbc
