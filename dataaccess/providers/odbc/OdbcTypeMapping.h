#pragma once
// How the ODBC provider describes result columns, and how it fetches their values.
//
//   ODBC SQL type                               type code            declared size
//   ------------------------------------------  -------------------  ------------------------------
//   SQL_SMALLINT, SQL_TINYINT                   I2 (2), UI2 unsigned 2
//   SQL_INTEGER                                 I4 (3), UI4 unsigned 4
//   SQL_BIGINT                                  I8 (20), UI8 unsigned 8
//   SQL_REAL                                    R4 (4)               4
//   SQL_FLOAT, SQL_DOUBLE                       R8 (5)               8
//   SQL_BIT                                     BOOL (11)            2
//   SQL_(W)CHAR(n), SQL_(W)VARCHAR(n)           WSTR (130)           n
//   SQL_(W)LONGVARCHAR (psqlODBC's text)        WSTR (130)           0x7FFFFFFF: a long value, "(TEXT)"
//   SQL_BINARY(n), SQL_VARBINARY(n)             BYTES (128)          n
//   SQL_LONGVARBINARY (bytea)                   BYTES (128)          0x7FFFFFFF: a long value, "(BLOB)"
//   SQL_DECIMAL(p,s), SQL_NUMERIC(p,s)          NUMERIC (131)        p
//   SQL_TYPE_DATE, SQL_TYPE_TIME,               DBDATE (133), DBTIME (134), DBTIMESTAMP (135):
//   SQL_TYPE_TIMESTAMP (and the ODBC 2 codes)   the characters of their text form
//   SQL_GUID                                    GUID (72)            16
//   anything else (intervals, driver types)     WSTR (130)           the driver's column size
//
// The long types are unbounded whatever size the driver states for them (the SQLite ODBC driver
// gives its TEXT columns 65536, psqlODBC its text 8190). A size the driver reports above
// 0x7FFFFFFF is unbounded too (0x7FFFFFFF). A size of 0 (the driver states none) stays 0: the
// provider does not know it, and the row cache binds such a column as a long value.
//
// Values: character columns are fetched as SQL_C_WCHAR (UTF-16), binary columns as SQL_C_BINARY,
// every other column as SQL_C_CHAR, the driver's own text of the value ("42", "1.5",
// "2024-01-02 10:00:00"; psqlODBC gives booleans as "1"/"0"). The shared conversion turns that
// text into a number where a binding asks for one, so every column can be bound as text.
// psqlODBC's text of dates it cannot represent is a stand-in, read as OdbcDateStandIns.h says.
#include "dataaccess/DbTypes.h"

#include <sql.h>
#include <cstddef>
#include <cstdint>

namespace qb::data::odbc {

// The C type a column's values are fetched as.
enum class FetchKind {
    WideText, // SQL_C_WCHAR
    Bytes,    // SQL_C_BINARY
    Text,     // SQL_C_CHAR: the driver's text form (ASCII for numbers and dates)
};

struct OdbcColumnType {
    DBTYPE type = DBTYPE_WSTR;
    uint32_t size = 0;
    FetchKind fetch = FetchKind::WideText;
};

// sqlType and columnSize as SQLDescribeCol reports them; isUnsigned from SQL_DESC_UNSIGNED.
OdbcColumnType mapColumnType(SQLSMALLINT sqlType, SQLULEN columnSize, bool isUnsigned);

// The C type code for a fetch kind, and the bytes of the terminator the driver appends.
SQLSMALLINT cTypeOf(FetchKind kind);
size_t terminatorSize(FetchKind kind);

} // namespace qb::data::odbc
