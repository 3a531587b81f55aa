#include "dataaccess/providers/odbc/OdbcDriverManager.h"

#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcHandle.h"
#include "dataaccess/providers/odbc/OdbcText.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace qb::data::odbc {
namespace {

OdbcHandle newEnvironment()
{
    OdbcHandle env = OdbcHandle::allocate(SQL_HANDLE_ENV, 0, SQL_NULL_HANDLE);
    SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return env;
}

// Every entry from `first` on (SQL_FETCH_FIRST: both lists, the user's first).
template <typename Visit>
void forEachDataSource(SQLHENV env, SQLUSMALLINT first, Visit visit)
{
    SQLUSMALLINT direction = first;
    for (;;) {
        SQLWCHAR name[SQL_MAX_DSN_LENGTH + 1];
        SQLWCHAR driver[256];
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT driverLength = 0;
        const SQLRETURN rc = SQLDataSourcesW(env, direction, name, SQLSMALLINT(std::size(name)), &nameLength, driver,
                                             SQLSMALLINT(std::size(driver)), &driverLength);
        if (!SQL_SUCCEEDED(rc))
            return;
        if (!visit(fromWide(name, nameLength, qsizetype(std::size(name)) - 1),
                   fromWide(driver, driverLength, qsizetype(std::size(driver)) - 1)))
            return;
        direction = SQL_FETCH_NEXT;
    }
}

// "key=value\0key=value\0\0", as SQLDrivers writes a driver's attributes.
std::vector<std::pair<QString, QString>> splitAttributes(const SQLWCHAR* text, qsizetype units)
{
    std::vector<std::pair<QString, QString>> result;
    const QString all = QString::fromUtf16(reinterpret_cast<const char16_t*>(text), units);
    for (const QString& item : all.split(QChar(0), Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(u'=');
        if (eq > 0)
            result.emplace_back(item.left(eq), item.mid(eq + 1));
    }
    return result;
}

} // namespace

std::vector<OdbcDataSourceName> listDataSources()
{
    std::vector<OdbcDataSourceName> result;
    try {
        const OdbcHandle env = newEnvironment();
        for (const bool system : {false, true}) {
            forEachDataSource(env.get(), system ? SQL_FETCH_FIRST_SYSTEM : SQL_FETCH_FIRST_USER,
                              [&](const QString& name, const QString& driver) {
                                  const bool shadowed = system && std::any_of(result.begin(), result.end(), [&](const auto& d) {
                                                            return !d.system && d.name.compare(name, Qt::CaseInsensitive) == 0;
                                                        });
                                  if (!shadowed)
                                      result.push_back({name, driver, system});
                                  return true;
                              });
        }
    } catch (const ProviderError&) {
        // No driver manager environment: no data sources to offer.
    }
    return result;
}

std::vector<OdbcDriver> listDrivers()
{
    std::vector<OdbcDriver> result;
    try {
        const OdbcHandle env = newEnvironment();
        SQLUSMALLINT direction = SQL_FETCH_FIRST;
        for (;;) {
            SQLWCHAR name[256];
            SQLWCHAR attributes[4096];
            SQLSMALLINT nameLength = 0;
            SQLSMALLINT attributesLength = 0;
            const SQLRETURN rc = SQLDriversW(env.get(), direction, name, SQLSMALLINT(std::size(name)), &nameLength,
                                             attributes, SQLSMALLINT(std::size(attributes)), &attributesLength);
            if (!SQL_SUCCEEDED(rc))
                break;
            result.push_back({fromWide(name, nameLength, qsizetype(std::size(name)) - 1),
                              splitAttributes(attributes, std::min<qsizetype>(attributesLength, qsizetype(std::size(attributes)) - 1))});
            direction = SQL_FETCH_NEXT;
        }
    } catch (const ProviderError&) {
        // As above: nothing to offer.
    }
    return result;
}

QString driverOfDataSource(SQLHENV env, const QString& dsn)
{
    QString driver;
    forEachDataSource(env, SQL_FETCH_FIRST, [&](const QString& name, const QString& itsDriver) {
        if (name.compare(dsn, Qt::CaseInsensitive) != 0)
            return true;
        driver = itsDriver;
        return false;
    });
    return driver;
}

} // namespace qb::data::odbc
