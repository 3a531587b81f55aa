#include "datalinks/DataLinkModel.h"

#include "dataaccess/Connection.h"
#include "dataaccess/ErrorText.h"
#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcConnectString.h"
#include "dataaccess/providers/sqlite/SqliteOpenOptions.h"
#include "platform/StringTable.h"

#include <QStringList>

#include <algorithm>

namespace qb::datalinks {
namespace {

using data::ConnectionString;
namespace odbc = data::odbc;
namespace sqlite = data::sqlite;

const QString kProviderKey = QStringLiteral("Provider");

QString text(const char16_t* key)
{
    return QString::fromUtf16(key);
}

QString providerNameOf(ProviderKind kind)
{
    return kind == ProviderKind::Odbc ? QStringLiteral("ODBC") : QStringLiteral("SQLite");
}

bool sameKey(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The keys of the data source name, and those of a driver other than its own settings.
QStringList dataSourceKeys()
{
    return {text(odbc::kDataSourceAlias.odbc), text(odbc::kDataSourceAlias.general), text(odbc::kFileDsnKey)};
}

} // namespace

DataLinkModel::DataLinkModel()
{
    startProvider(ProviderKind::Sqlite);
}

void DataLinkModel::load(const QString& initString)
{
    ProviderState state;
    state.properties = ConnectionString::parse(initString);
    if (!state.properties.value(text(odbc::kDriverKey)).isEmpty())
        state.odbcSource = OdbcSource::Driver;
    m_state = std::move(state);
    m_otherProviders.clear();
    if (provider() == ProviderKind::Odbc && !m_state.properties.contains(text(odbc::kPersistSecurityInfoKey)))
        setKeepPassword(!password().isEmpty());
}

ProviderKind DataLinkModel::provider() const
{
    const QString name = providerName().trimmed();
    if (sameKey(name, providerNameOf(ProviderKind::Sqlite)))
        return ProviderKind::Sqlite;
    if (sameKey(name, providerNameOf(ProviderKind::Odbc)))
        return ProviderKind::Odbc;
    return ProviderKind::Other;
}

QString DataLinkModel::providerName() const
{
    return m_state.properties.value(kProviderKey);
}

void DataLinkModel::setProvider(ProviderKind kind)
{
    if (kind == ProviderKind::Other || kind == provider())
        return;
    m_otherProviders[providerName().trimmed().toLower()] = std::move(m_state);
    const auto back = m_otherProviders.find(providerNameOf(kind).toLower());
    if (back == m_otherProviders.end()) {
        startProvider(kind);
        return;
    }
    m_state = std::move(back->second);
    m_otherProviders.erase(back);
}

void DataLinkModel::startProvider(ProviderKind kind)
{
    m_state = ProviderState();
    m_state.properties.set(kProviderKey, providerNameOf(kind));
    // A new ODBC link keeps no password in its file unless the user says so.
    if (kind == ProviderKind::Odbc)
        m_state.properties.set(text(odbc::kPersistSecurityInfoKey), QStringLiteral("False"));
}

void DataLinkModel::setEntries(const std::vector<Entry>& entries)
{
    ConnectionString properties;
    for (const Entry& e : entries)
        if (!e.key.trimmed().isEmpty())
            properties.set(e.key, e.value);
    m_state.properties = std::move(properties);
}

QString DataLinkModel::keyProblem(const QString& key)
{
    if (key.trimmed().isEmpty())
        return QStringLiteral("A property needs a name.");
    if (key.contains(u'=') || key.contains(u';'))
        return QStringLiteral("A property name cannot contain \"=\" or \";\".");
    return {};
}

bool DataLinkModel::isPasswordKey(const QString& key)
{
    const QString k = key.trimmed();
    return sameKey(k, text(odbc::kPasswordAlias.odbc)) || sameKey(k, text(odbc::kPasswordAlias.general));
}

void DataLinkModel::setValue(const QString& key, const QString& value)
{
    if (value.isEmpty())
        m_state.properties.remove(key);
    else
        m_state.properties.set(key, value);
}

QString DataLinkModel::databaseFile() const
{
    return value(text(sqlite::kDataSourceKey));
}

void DataLinkModel::setDatabaseFile(const QString& path)
{
    setValue(text(sqlite::kDataSourceKey), path);
}

bool DataLinkModel::readOnly() const
{
    const QString mode = value(text(sqlite::kModeKey)).trimmed();
    return sameKey(mode, text(sqlite::kModeReadOnly)) || sameKey(mode, QStringLiteral("Read"));
}

void DataLinkModel::setReadOnly(bool on)
{
    setValue(text(sqlite::kModeKey), on ? text(sqlite::kModeReadOnly) : QString());
}

bool DataLinkModel::immutable() const
{
    return data::parseBoolean(value(text(sqlite::kImmutableKey))).value_or(false);
}

void DataLinkModel::setImmutable(bool on)
{
    setValue(text(sqlite::kImmutableKey), on ? QStringLiteral("True") : QString());
}

QString DataLinkModel::firstOf(std::initializer_list<QString> keys) const
{
    for (const QString& key : keys)
        if (const auto v = m_state.properties.find(key))
            return *v;
    return {};
}

// Writes the key the string already uses (the ODBC one when both are there, as the provider
// reads that one), else the ODBC spelling.
void DataLinkModel::setAliased(const QString& odbcKey, const QString& generalKey, const QString& value)
{
    const bool useGeneral = !m_state.properties.contains(odbcKey) && m_state.properties.contains(generalKey);
    setValue(useGeneral ? generalKey : odbcKey, value);
}

void DataLinkModel::setOdbcSource(OdbcSource source)
{
    if (source == m_state.odbcSource)
        return;
    // Put this source's own keys aside and bring back the other's.
    ConnectionString aside;
    for (const Entry& e : m_state.properties.entries()) {
        const bool own = m_state.odbcSource == OdbcSource::DataSourceName
                             ? dataSourceKeys().contains(e.key, Qt::CaseInsensitive)
                             : sameKey(e.key, text(odbc::kDriverKey)) || !isSourceOrLogonKey(e.key);
        if (own)
            aside.set(e.key, e.value);
    }
    for (const Entry& e : aside.entries())
        m_state.properties.remove(e.key);
    const ConnectionString back = std::move(m_state.otherOdbcSource[source]);
    m_state.otherOdbcSource[m_state.odbcSource] = std::move(aside);
    m_state.otherOdbcSource.erase(source);
    for (const Entry& e : back.entries())
        m_state.properties.set(e.key, e.value);
    m_state.odbcSource = source;
}

QString DataLinkModel::dataSourceName() const
{
    if (const auto dsn = m_state.properties.find(text(odbc::kDataSourceAlias.odbc)))
        return odbc::unbracedOdbcValue(*dsn);
    return odbc::unbracedOdbcValue(value(text(odbc::kDataSourceAlias.general)));
}

void DataLinkModel::setDataSourceName(const QString& name)
{
    setAliased(text(odbc::kDataSourceAlias.odbc), text(odbc::kDataSourceAlias.general), name);
}

QString DataLinkModel::driver() const
{
    return odbc::unbracedOdbcValue(value(text(odbc::kDriverKey)));
}

void DataLinkModel::setDriver(const QString& name)
{
    setValue(text(odbc::kDriverKey), name.isEmpty() ? QString() : odbc::bracedOdbcValue(name));
    if (driverKeys().empty() && odbc::driverKindOf(name) == odbc::DriverKind::PostgreSql) {
        m_state.properties.set(QStringLiteral("Server"), QStringLiteral("localhost"));
        m_state.properties.set(QStringLiteral("Port"), QStringLiteral("5432"));
    }
}

bool DataLinkModel::isSourceOrLogonKey(const QString& key) const
{
    QStringList keys = dataSourceKeys();
    keys << kProviderKey << text(odbc::kDriverKey) << text(odbc::kPersistSecurityInfoKey);
    for (const odbc::KeyAlias& alias : {odbc::kUserAlias, odbc::kPasswordAlias, odbc::kCatalogAlias})
        keys << text(alias.odbc) << text(alias.general);
    return keys.contains(key.trimmed(), Qt::CaseInsensitive);
}

std::vector<DataLinkModel::Entry> DataLinkModel::driverKeys() const
{
    std::vector<Entry> keys;
    for (const Entry& e : m_state.properties.entries())
        if (!isSourceOrLogonKey(e.key))
            keys.push_back(e);
    return keys;
}

void DataLinkModel::setDriverKeys(const std::vector<Entry>& keys)
{
    for (const Entry& e : driverKeys())
        m_state.properties.remove(e.key);
    for (const Entry& e : keys)
        if (keyProblem(e.key).isEmpty() && !isSourceOrLogonKey(e.key))
            m_state.properties.set(e.key, e.value);
}

QString DataLinkModel::userName() const
{
    return firstOf({text(odbc::kUserAlias.odbc), text(odbc::kUserAlias.general)});
}

void DataLinkModel::setUserName(const QString& name)
{
    setAliased(text(odbc::kUserAlias.odbc), text(odbc::kUserAlias.general), name);
}

QString DataLinkModel::password() const
{
    return firstOf({text(odbc::kPasswordAlias.odbc), text(odbc::kPasswordAlias.general)});
}

void DataLinkModel::setPassword(const QString& password)
{
    setAliased(text(odbc::kPasswordAlias.odbc), text(odbc::kPasswordAlias.general), password);
}

bool DataLinkModel::keepPassword() const
{
    return data::parseBoolean(value(text(odbc::kPersistSecurityInfoKey))).value_or(false);
}

void DataLinkModel::setKeepPassword(bool keep)
{
    m_state.properties.set(text(odbc::kPersistSecurityInfoKey), keep ? QStringLiteral("True") : QStringLiteral("False"));
}

QString DataLinkModel::initialCatalog() const
{
    return firstOf({text(odbc::kCatalogAlias.odbc), text(odbc::kCatalogAlias.general)});
}

void DataLinkModel::setInitialCatalog(const QString& catalog)
{
    setAliased(text(odbc::kCatalogAlias.odbc), text(odbc::kCatalogAlias.general), catalog);
}

QString DataLinkModel::savedString() const
{
    if (keepPassword())
        return connectionString();
    ConnectionString saved;
    for (const Entry& e : m_state.properties.entries())
        if (!isPasswordKey(e.key))
            saved.set(e.key, e.value);
    return saved.toString();
}

TestOutcome DataLinkModel::testConnection(const QString& initString)
{
    try {
        data::Connection::openDataSource(initString, false)->uninitialize();
        return {true, QStringLiteral("Test connection succeeded.")};
    } catch (const data::ProviderError& e) {
        return {false, data::providerErrorText(e)};
    } catch (const std::exception&) {
        return {false, loadString(data::kUnknownError)};
    }
}

} // namespace qb::datalinks
