#pragma once
// How the SQLite provider describes result columns (type code, declared size).
//
// A column that stands for a table column has the declared type of its CREATE TABLE (also through
// a view); it is read by SQLite's affinity words, case-insensitively:
//
//   declared type                                   type code          declared size
//   ----------------------------------------------  -----------------  ------------------------
//   ...INT... (INTEGER, BIGINT, SMALLINT, ...)      I8 (20)            8
//   REAL, ...FLOA..., ...DOUB...                    R8 (5)             8
//   ...CHAR(n)..., ...TEXT(n), ...CLOB(n)           WSTR (130)         n
//   TEXT, CLOB, VARCHAR, CHAR without a length      WSTR (130)         0x7FFFFFFF: a long value, "(TEXT)"
//   BLOB                                            BYTES (128)        0x7FFFFFFF: a long value, "(BLOB)"
//   BINARY(n), VARBINARY(n), BLOB(n)                BYTES (128)        n (0x7FFFFFFF without a length)
//   NUMERIC(p,s), DECIMAL(p,s)                      NUMERIC (131)      p (38 without a precision)
//   BOOLEAN, BOOL                                   BOOL (11)          2
//   DATE                                            DBDATE (133)       10 (the text "YYYY-MM-DD")
//   TIME                                            DBTIME (134)       8  ("HH:MM:SS")
//   DATETIME, TIMESTAMP                             DBTIMESTAMP (135)  19 ("YYYY-MM-DD HH:MM:SS")
//
// A length above 0x7FFFFFFE counts as unbounded (0x7FFFFFFF). A declared length of 0 is reported
// as 0, a size the provider does not know: SQLite does not enforce lengths, so the column may hold
// anything, and no width can be derived from it.
//
// SQLite keeps no types of its own for NUMERIC, BOOLEAN and the dates, so their values are read
// as stored (numbers or text) and the table data shows them as text the provider converts.
//
// A column without a declared type (an expression of a query, or a column declared without
// one, or with a type word none of the above matches) is typed by the storage class of its
// value in the first row: INTEGER -> I8 (8), REAL -> R8 (8), TEXT -> WSTR (256, shown inline;
// longer values are cut in the list), BLOB -> BYTES (0x7FFFFFFF, long: nothing bounds a blob
// that an expression yields), NULL or no rows -> WSTR (256).
#include "dataaccess/DbTypes.h"

#include <optional>

namespace qb::data::sqlite {

struct ColumnType {
    DBTYPE type;
    uint32_t size;
    bool operator==(const ColumnType&) const = default;
};

// The type of a declared column type; nullopt when the declaration is missing or names nothing
// the table above knows (then the storage class decides).
std::optional<ColumnType> typeOfDeclaration(const char* declaredType);

// The type by a value's storage class (SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB,
// SQLITE_NULL).
ColumnType typeOfStorageClass(int storageClass);

} // namespace qb::data::sqlite
