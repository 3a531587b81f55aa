#pragma once
// A long value of a PostgreSQL table read from the server in pieces, each its own statement.
//
// psqlODBC receives a whole row before the first SQLGetData, and a bytea arrives as hexadecimal
// text: a 100 MB value costs the driver several hundred megabytes, however the program reads it.
// Asking the server for "substring(column from N for M)" of the one row keeps each result small.
// The row is found by its place in the plain scan (as the table data reads its pages) and then
// named by its table oid and tuple id, which reach it directly and stay the same while the row is
// not changed; should it change or go between two pieces, the next piece finds no row and the
// read fails instead of mixing two versions of the value.
#include "dataaccess/Provider.h"

#include <memory>
#include <optional>

namespace qb::data::odbc {

class OdbcConnection;

// Bytes of bytea, characters of text, per piece. The client library and the driver hold about
// six times a piece while it is read (a bytea comes as hexadecimal text); larger pieces cost
// fewer statements, which matters where the server decompresses the value from its start for
// each piece (8 MB: about 50 MB held, and 13 statements for 100 MB).
inline constexpr uint64_t kValuePieceUnits = 8 * 1024 * 1024;

// A stream over the value of `column` (its name as the result describes it, of declared type
// `type`) in the row that comes `row`-th (from 0) in the plain scan of `quotedObject`, read in
// pieces. nullopt where this way does not apply: not PostgreSQL, an object other than a table, a
// column other than bytea, or text or varchar read as UTF-16. A null stream for a NULL value. Throws ProviderError
// (the row is gone, a piece failed, a stop).
std::optional<SequentialStream*> openValuePieces(const std::shared_ptr<OdbcConnection>& connection,
                                                 const QString& quotedObject, const QString& column,
                                                 DBTYPE type, uint64_t row, uint64_t pieceUnits = kValuePieceUnits);

} // namespace qb::data::odbc
