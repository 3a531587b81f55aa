#include "dataaccess/providers/odbc/OdbcConnectString.h"

namespace qb::data::odbc {
namespace {

bool isBraced(const QString& v)
{
    if (v.size() < 2 || !v.startsWith(u'{') || !v.endsWith(u'}'))
        return false;
    const QString inner = v.mid(1, v.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == u'}') {
            if (i + 1 >= inner.size() || inner[i + 1] != u'}')
                return false;
            ++i;
        }
    }
    return true;
}

QString odbcValue(const QString& v)
{
    if (isBraced(v))
        return v; // given in braces, which the parser keeps
    if (v.contains(u';') || v.contains(u'{') || v.contains(u'}') || v != v.trimmed()) {
        QString doubled = v;
        doubled.replace(u'}', QStringLiteral("}}"));
        return u'{' + doubled + u'}';
    }
    return v;
}

QString unbraced(const QString& v)
{
    if (!isBraced(v))
        return v;
    QString inner = v.mid(1, v.size() - 2);
    inner.replace(QStringLiteral("}}"), QStringLiteral("}"));
    return inner;
}

void renameIfAbsent(ConnectionString& p, const QString& from, const QString& to)
{
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
    const QString t = v.trimmed();
    return t == u"1" || t.compare(u"yes", Qt::CaseInsensitive) == 0 || t.compare(u"true", Qt::CaseInsensitive) == 0;
}

} // namespace

DriverKind driverKindOf(const QString& driverName)
{
    const QString name = unbraced(driverName.trimmed());
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
    if (const auto extended = properties.find(QStringLiteral("Extended Properties"))) {
        const ConnectionString odbcKeys = ConnectionString::parse(unbraced(*extended));
        for (const ConnectionString::Entry& e : odbcKeys.entries())
            p.set(e.key, e.value);
    }
    for (const ConnectionString::Entry& e : properties.entries())
        p.set(e.key, e.value);
    p.remove(QStringLiteral("Provider"));
    p.remove(QStringLiteral("Extended Properties"));
    p.remove(QStringLiteral("Persist Security Info"));
    if (!p.contains(QStringLiteral("DSN")) && !p.contains(QStringLiteral("FILEDSN")) && !p.contains(QStringLiteral("Driver")))
        renameIfAbsent(p, QStringLiteral("Data Source"), QStringLiteral("DSN"));
    renameIfAbsent(p, QStringLiteral("User ID"), QStringLiteral("UID"));
    renameIfAbsent(p, QStringLiteral("Password"), QStringLiteral("PWD"));
    renameIfAbsent(p, QStringLiteral("Initial Catalog"), QStringLiteral("DATABASE"));

    OdbcConnectString result;
    QString driver = p.value(QStringLiteral("Driver"));
    if (driver.isEmpty() && p.contains(QStringLiteral("DSN")) && dsnDriver)
        driver = dsnDriver(unbraced(p.value(QStringLiteral("DSN"))));
    result.kind = driverKindOf(driver);
    if (result.kind == DriverKind::PostgreSql) {
        setIfAbsent(p, QStringLiteral("UseDeclareFetch"), QStringLiteral("1"));
        setIfAbsent(p, QStringLiteral("Fetch"), QStringLiteral("1000"));
        result.showSystemObjects = isTrue(p.value(QStringLiteral("ShowSystemTables")));
    } else if (result.kind == DriverKind::Sqlite) {
        setIfAbsent(p, QStringLiteral("StepAPI"), QStringLiteral("1"));
        setIfAbsent(p, QStringLiteral("NoCreat"), QStringLiteral("1"));
        result.sqliteDatabase = unbraced(p.value(QStringLiteral("Database")));
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
