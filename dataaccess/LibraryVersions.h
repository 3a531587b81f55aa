#pragma once
// The versions of the database libraries the program runs with, as they report themselves (for
// the about box).
#include <QString>

namespace qb::data {

// SQLite's library version, for example "3.40.1".
QString sqliteLibraryVersion();
// The ODBC driver manager's version (SQL_DM_VER), for example "03.52.0002.0003"; empty when the
// driver manager gives none.
QString odbcDriverManagerVersion();

} // namespace qb::data
