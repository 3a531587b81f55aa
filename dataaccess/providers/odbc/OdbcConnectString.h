#pragma once
// The driver's connection string, made from the initialization string:
//   - "Provider" is dropped, every other key is handed to the driver (values braced where ODBC
//     needs it: ";", braces, blanks at the ends);
//   - the general keys of data links map to ODBC's where ODBC's are absent: "Data Source" -> DSN
//     (when neither DSN, FILEDSN nor Driver is given), "User ID" -> UID, "Password" -> PWD,
//     "Initial Catalog" -> DATABASE; "Extended Properties" holds ODBC keys and is merged in;
//     "Persist Security Info" concerns only the data link and is dropped;
//   - driver settings that keep memory bounded, unless the string sets them itself:
//       psqlODBC: UseDeclareFetch=1;Fetch=1000 (a cursor read 1000 rows at a time; without it
//                 the whole result is loaded into memory before the first row),
//       SQLite ODBC: StepAPI=1 (rows stepped one at a time instead of the whole result loaded
//                 in SQLExecDirect), NoCreat=1 (a missing file is an error, not a new empty
//                 database).
#include "dataaccess/ConnectionString.h"

#include <QString>
#include <functional>

namespace qb::data::odbc {

enum class DriverKind { PostgreSql, Sqlite, Other };

// An ODBC key and the general data-link key that stands for it when it is absent.
struct KeyAlias {
    const char16_t* odbc;
    const char16_t* general;
};
inline constexpr KeyAlias kUserAlias{u"UID", u"User ID"};
inline constexpr KeyAlias kPasswordAlias{u"PWD", u"Password"};
inline constexpr KeyAlias kCatalogAlias{u"DATABASE", u"Initial Catalog"};
// Only when none of DSN, FILEDSN and Driver is given.
inline constexpr KeyAlias kDataSourceAlias{u"DSN", u"Data Source"};
inline constexpr char16_t kDriverKey[] = u"Driver";
inline constexpr char16_t kFileDsnKey[] = u"FILEDSN";
inline constexpr char16_t kPersistSecurityInfoKey[] = u"Persist Security Info";
inline constexpr char16_t kExtendedPropertiesKey[] = u"Extended Properties";

// A value as ODBC braces it ("{" ... "}", "}" inside doubled), and back; unbracedOdbcValue
// leaves a value that is not braced as it is.
QString bracedOdbcValue(const QString& value);
QString unbracedOdbcValue(const QString& value);

// The kind of driver from its name as the driver manager knows it ("PostgreSQL Unicode"), or
// from its library path.
DriverKind driverKindOf(const QString& driverName);

struct OdbcConnectString {
    QString text;
    DriverKind kind = DriverKind::Other;
    // SQLite ODBC: the database file, and whether a missing file is refused (NoCreat in effect).
    QString sqliteDatabase;
    bool sqliteNoCreate = false;
    // psqlODBC's ShowSystemTables=1: the user wants the system schemas listed too.
    bool showSystemObjects = false;
    // psqlODBC reads results through a server-side cursor (UseDeclareFetch in effect).
    bool declareFetch = false;

    // `dsnDriver` names the driver of a data source name (empty when unknown).
    static OdbcConnectString build(const ConnectionString& properties,
                                   const std::function<QString(const QString& dsn)>& dsnDriver);
};

} // namespace qb::data::odbc
