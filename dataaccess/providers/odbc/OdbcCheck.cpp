#include "dataaccess/providers/odbc/OdbcCheck.h"

#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcText.h"

#include <iterator>

namespace qb::data::odbc {

Diagnostics readDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    Diagnostics d;
    if (handle == SQL_NULL_HANDLE)
        return d;
    // Records are few; stop at a sane number in case a driver keeps answering.
    for (SQLSMALLINT record = 1; record <= 20; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[2048];
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message,
                                            SQLSMALLINT(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        const QString sqlState = fromWide(state, 5, 5);
        // psqlODBC ends its messages with a line break; keep one record per line.
        const QString text = fromWide(message, length, qsizetype(std::size(message)) - 1).trimmed();
        if (d.firstState.isEmpty()) {
            d.firstState = sqlState;
            d.firstNative = native;
        }
        if (!d.text.isEmpty())
            d.text += u'\n';
        d.text += QStringLiteral("[%1] %2").arg(sqlState, text);
    }
    return d;
}

HRESULT resultForState(const QString& sqlState)
{
    if (sqlState == u"HY008" || sqlState == u"57014")
        return DB_E_CANCELED;
    if (sqlState == u"28000" || sqlState == u"28P01")
        return DB_SEC_E_AUTH_FAILED;
    if (sqlState == u"42S02" || sqlState == u"42P01")
        return DB_E_NOTABLE;
    if (sqlState.startsWith(u"42") || sqlState == u"37000")
        return DB_E_ERRORSINCOMMAND;
    if (sqlState == u"HY001")
        return E_OUTOFMEMORY;
    return E_FAIL;
}

SQLRETURN check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, bool interrupted)
{
    if (SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA)
        return rc;
    if (rc == SQL_INVALID_HANDLE)
        throw ProviderError(E_UNEXPECTED, QStringLiteral("The ODBC driver manager reports an invalid handle."));
    Diagnostics d = readDiagnostics(handleType, handle);
    if (d.text.isEmpty())
        d.text = rc == SQL_STILL_EXECUTING ? QStringLiteral("The ODBC call is still executing.")
                 : rc == SQL_NEED_DATA     ? QStringLiteral("The ODBC driver asks for parameter data.")
                                           : QStringLiteral("The ODBC call failed without a diagnostic record.");
    HRESULT hr = interrupted ? DB_E_CANCELED : resultForState(d.firstState);
    if (interrupted && !d.text.contains(u"cancel", Qt::CaseInsensitive))
        d.text = QStringLiteral("The statement was interrupted.\n") + d.text;
    throw ProviderError(hr, d.text);
}

} // namespace qb::data::odbc
