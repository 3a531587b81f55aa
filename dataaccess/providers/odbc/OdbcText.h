#pragma once
// Text at the ODBC boundary. unixODBC's SQLWCHAR is a 2-byte UTF-16 unit, the same as QString's,
// so the wide ("W") functions take QString data without conversion.
#include <QString>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace qb::data::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC is expected to use 2-byte SQLWCHAR");

// The string as an input argument of a wide function (pass SQL_NTS as its length).
inline SQLWCHAR* wideArg(const QString& s)
{
    return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(reinterpret_cast<const char16_t*>(s.utf16())));
}

// `units` UTF-16 units written by a wide function (cut to the buffer's capacity).
inline QString fromWide(const SQLWCHAR* text, qsizetype units, qsizetype capacity)
{
    if (units < 0)
        units = 0;
    if (units > capacity)
        units = capacity;
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), units);
}

} // namespace qb::data::odbc
