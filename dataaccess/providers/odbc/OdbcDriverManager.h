#pragma once
// What the driver manager knows: its data source names (user and system) and its drivers, for
// the data link editor's lists and for finding the driver behind a data source name.
#include <QString>
#include <sql.h>
#include <utility>
#include <vector>

namespace qb::data::odbc {

struct OdbcDataSourceName {
    QString name;
    QString driver;      // the driver's name as the driver manager knows it
    bool system = false; // from the system's list, not the user's
};

struct OdbcDriver {
    QString name;
    // The driver's installation attributes ("Description", "Driver", "Setup", ...).
    std::vector<std::pair<QString, QString>> attributes;
};

// User data sources first, then system ones; a system name that a user one shadows (the
// driver manager connects to the user's) is left out. Empty when the driver manager fails.
std::vector<OdbcDataSourceName> listDataSources();
std::vector<OdbcDriver> listDrivers();

// The driver of a data source name (compared without regard to case) as the environment's
// driver manager resolves it, or an empty text.
QString driverOfDataSource(SQLHENV env, const QString& dsn);

} // namespace qb::data::odbc
