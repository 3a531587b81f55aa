#include "dataaccess/providers/odbc/OdbcTypeMapping.h"

#include <sqlext.h>
#include <sqlucode.h>

namespace qb::data::odbc {
namespace {

uint32_t boundedSize(SQLULEN size)
{
    return size > kLongValueSize ? kLongValueSize : uint32_t(size);
}

} // namespace

OdbcColumnType mapColumnType(SQLSMALLINT sqlType, SQLULEN columnSize, bool isUnsigned)
{
    switch (sqlType) {
    case SQL_SMALLINT:
    case SQL_TINYINT:
        return {isUnsigned ? DBTYPE(DBTYPE_UI2) : DBTYPE(DBTYPE_I2), 2, FetchKind::Text};
    case SQL_INTEGER:
        return {isUnsigned ? DBTYPE(DBTYPE_UI4) : DBTYPE(DBTYPE_I4), 4, FetchKind::Text};
    case SQL_BIGINT:
        return {isUnsigned ? DBTYPE(DBTYPE_UI8) : DBTYPE(DBTYPE_I8), 8, FetchKind::Text};
    case SQL_REAL:
        return {DBTYPE_R4, 4, FetchKind::Text};
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return {DBTYPE_R8, 8, FetchKind::Text};
    case SQL_BIT:
        return {DBTYPE_BOOL, 2, FetchKind::Text};
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
        return {DBTYPE_WSTR, boundedSize(columnSize), FetchKind::WideText};
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
        return {DBTYPE_WSTR, kLongValueSize, FetchKind::WideText};
    case SQL_BINARY:
    case SQL_VARBINARY:
        return {DBTYPE_BYTES, boundedSize(columnSize), FetchKind::Bytes};
    case SQL_LONGVARBINARY:
        return {DBTYPE_BYTES, kLongValueSize, FetchKind::Bytes};
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return {DBTYPE_NUMERIC, boundedSize(columnSize), FetchKind::Text};
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return {DBTYPE_DBDATE, boundedSize(columnSize), FetchKind::Text};
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return {DBTYPE_DBTIME, boundedSize(columnSize), FetchKind::Text};
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return {DBTYPE_DBTIMESTAMP, boundedSize(columnSize), FetchKind::Text};
    case SQL_GUID:
        return {DBTYPE_GUID, 16, FetchKind::Text};
    default:
        return {DBTYPE_WSTR, boundedSize(columnSize), FetchKind::WideText};
    }
}

SQLSMALLINT cTypeOf(FetchKind kind)
{
    switch (kind) {
    case FetchKind::WideText:
        return SQL_C_WCHAR;
    case FetchKind::Bytes:
        return SQL_C_BINARY;
    case FetchKind::Text:
        break;
    }
    return SQL_C_CHAR;
}

size_t terminatorSize(FetchKind kind)
{
    switch (kind) {
    case FetchKind::WideText:
        return 2;
    case FetchKind::Bytes:
        return 0;
    case FetchKind::Text:
        break;
    }
    return 1;
}

} // namespace qb::data::odbc
