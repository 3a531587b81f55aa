#include "dataaccess/providers/odbc/OdbcConnectString.h"

namespace qb::data::odbc {
namespace {

QString odbcValue(const QString& v)
{
    if (isBracedValue(v))
        return v; // given in braces, which the parser keeps
    if (v.contains(u';') || v.contains(u'{') || v.contains(u'}') || v != v.trimmed())
        return bracedOdbcValue(v);
    return v;
}

} // namespace

QString unbracedOdbcValue(const QString& v)
{
    if (!isBracedValue(v))
        return v;
    QString inner = v.mid(1, v.size() - 2);
    inner.replace(QStringLiteral("}}"), QStringLiteral("}"));
    return inner;
}

QString bracedOdbcValue(const QString& v)
{
    QString doubled = v;
    doubled.replace(u'}', QStringLiteral("}}"));
    return u'{' + doubled + u'}';
}

namespace {

void renameIfAbsent(ConnectionString& p, const KeyAlias& alias)
{
    const QString from = QString::fromUtf16(alias.general);
    const QString to = QString::fromUtf16(alias.odbc);
    const auto value = p.find(from);
    if (!value)
        return;
    p.remove(from);
    if (!p.contains(to))
        p.set(to, *value);
}

void setIfAbsent(ConnectionString& p, const QString& key, const QString& value)
{
    if (!p.contains(key))
        p.set(key, value);
}

bool isTrue(const QString& v)
{
    return parseBoolean(v).value_or(false);
}

} // namespace

DriverKind driverKindOf(const QString& driverName)
{
    const QString name = unbracedOdbcValue(driverName.trimmed());
    if (name.contains(u"postgres", Qt::CaseInsensitive) || name.contains(u"psqlodbc", Qt::CaseInsensitive))
        return DriverKind::PostgreSql;
    if (name.contains(u"sqlite", Qt::CaseInsensitive))
        return DriverKind::Sqlite;
    return DriverKind::Other;
}

OdbcConnectString OdbcConnectString::build(const ConnectionString& properties,
                                           const std::function<QString(const QString& dsn)>& dsnDriver)
{
    ConnectionString p;
    // Extended Properties first, so keys given directly win.
    if (const auto extended = properties.find(QString::fromUtf16(kExtendedPropertiesKey))) {
        const ConnectionString odbcKeys = ConnectionString::parse(unbracedOdbcValue(*extended));
        for (const ConnectionString::Entry& e : odbcKeys.entries())
            p.set(e.key, e.value);
    }
    for (const ConnectionString::Entry& e : properties.entries())
        p.set(e.key, e.value);
    p.remove(QStringLiteral("Provider"));
    p.remove(QString::fromUtf16(kExtendedPropertiesKey));
    p.remove(QString::fromUtf16(kPersistSecurityInfoKey));
    if (!p.contains(QString::fromUtf16(kDataSourceAlias.odbc)) && !p.contains(QString::fromUtf16(kFileDsnKey)) &&
        !p.contains(QString::fromUtf16(kDriverKey)))
        renameIfAbsent(p, kDataSourceAlias);
    for (const KeyAlias& alias : {kUserAlias, kPasswordAlias, kCatalogAlias})
        renameIfAbsent(p, alias);

    OdbcConnectString result;
    QString driver = p.value(QStringLiteral("Driver"));
    if (driver.isEmpty() && p.contains(QStringLiteral("DSN")) && dsnDriver)
        driver = dsnDriver(unbracedOdbcValue(p.value(QStringLiteral("DSN"))));
    result.kind = driverKindOf(driver);
    if (result.kind == DriverKind::PostgreSql) {
        setIfAbsent(p, QStringLiteral("UseDeclareFetch"), QStringLiteral("1"));
        setIfAbsent(p, QStringLiteral("Fetch"), QStringLiteral("1000"));
        result.showSystemObjects = isTrue(p.value(QStringLiteral("ShowSystemTables")));
        result.declareFetch = isTrue(p.value(QStringLiteral("UseDeclareFetch")));
    } else if (result.kind == DriverKind::Sqlite) {
        setIfAbsent(p, QStringLiteral("StepAPI"), QStringLiteral("1"));
        setIfAbsent(p, QStringLiteral("NoCreat"), QStringLiteral("1"));
        result.sqliteDatabase = unbracedOdbcValue(p.value(QStringLiteral("Database")));
        result.sqliteNoCreate = isTrue(p.value(QStringLiteral("NoCreat")));
    }
    for (const ConnectionString::Entry& e : p.entries()) {
        result.text += e.key;
        result.text += u'=';
        result.text += odbcValue(e.value);
        result.text += u';';
    }
    return result;
}

} // namespace qb::data::odbc
