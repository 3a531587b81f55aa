#pragma once
// The state behind the Data Link Properties dialog, kept apart from its widgets so that it can be
// driven and checked without a display: one property set (the initialization string being
// edited), read and written through the fields each page shows.
//
//   - The provider ("Provider" key) picks the Connection page. Switching providers puts the
//     current set aside and brings back the other provider's set, so a look at the other page
//     loses nothing.
//   - SQLite keys: Data Source, Mode, Immutable (SqliteOpenOptions.h). ODBC keys are written in
//     their ODBC spelling (DSN, Driver, UID, PWD, DATABASE); the general spellings (Data Source,
//     User ID, Password, Initial Catalog) are read and kept when a loaded string uses them.
//   - An ODBC link names either a data source name or a driver with the driver's own keys
//     (Server, Port, ...); each choice keeps its own keys while the other one is used.
//   - "Persist Security Info" says whether the password is kept in the saved string. It is part
//     of the property set, so the All page shows it; a loaded string with a password but without
//     the key counts as keeping it (that is what the file did).
//   - An empty field removes its key: the string never carries "UID=;".
#include "dataaccess/ConnectionString.h"

#include <QString>
#include <map>
#include <vector>

namespace qb::datalinks {

enum class ProviderKind { Sqlite, Odbc, Other };
enum class OdbcSource { DataSourceName, Driver };

struct TestOutcome {
    bool succeeded = false;
    QString text; // what happened, in the provider's words when it failed
};

class DataLinkModel {
public:
    using Entry = data::ConnectionString::Entry;

    // A new link: the SQLite provider and nothing else.
    DataLinkModel();

    // Starts over from the string (a data link file's, a pasted one). Throws ProviderError
    // (E_INVALIDARG) with the parser's description when it is malformed; nothing changes then.
    void load(const QString& initString);

    ProviderKind provider() const;
    QString providerName() const; // as the string spells it; empty when none is named
    void setProvider(ProviderKind kind);

    // Every property, in order: the All page.
    const std::vector<Entry>& entries() const { return m_state.properties.entries(); }
    // Replaces the whole set; blank keys are skipped (the caller checks keys with keyProblem).
    void setEntries(const std::vector<Entry>& entries);
    // Why a text cannot be a key, or an empty text when it can.
    static QString keyProblem(const QString& key);
    // Whether the key holds a password (PWD, Password).
    static bool isPasswordKey(const QString& key);
    QString value(const QString& key) const { return m_state.properties.value(key); }
    void setValue(const QString& key, const QString& value);

    // The SQLite provider.
    QString databaseFile() const;
    void setDatabaseFile(const QString& path);
    bool readOnly() const;
    void setReadOnly(bool on);
    bool immutable() const;
    void setImmutable(bool on);

    // The ODBC provider.
    OdbcSource odbcSource() const { return m_state.odbcSource; }
    void setOdbcSource(OdbcSource source);
    QString dataSourceName() const;
    void setDataSourceName(const QString& name);
    QString driver() const; // without the braces
    // Choosing a driver with no keys of its own yet fills in the ones it needs to find its
    // server (PostgreSQL: Server and Port).
    void setDriver(const QString& name);
    // The keys that are neither the provider's, the source's, the log-on's nor the catalog's.
    std::vector<Entry> driverKeys() const;
    void setDriverKeys(const std::vector<Entry>& keys);
    QString userName() const;
    void setUserName(const QString& name);
    QString password() const;
    void setPassword(const QString& password);
    bool keepPassword() const;
    void setKeepPassword(bool keep);
    QString initialCatalog() const;
    void setInitialCatalog(const QString& catalog);

    // The whole string: for Test Connection and for a connection made in this process.
    QString connectionString() const { return m_state.properties.toString(); }
    // What a data link file keeps: without the password unless the user chose to keep it.
    QString savedString() const;

    // Opens a data source for the string and closes it again. Blocks while the provider
    // connects; touches nothing but its argument, so it may run on any thread.
    static TestOutcome testConnection(const QString& initString);

private:
    QString firstOf(std::initializer_list<QString> keys) const;
    void setAliased(const QString& odbcKey, const QString& generalKey, const QString& value);
    bool isSourceOrLogonKey(const QString& key) const;
    void startProvider(ProviderKind kind);

    // One provider's set, with the ODBC keys of the source not in use.
    struct ProviderState {
        data::ConnectionString properties;
        OdbcSource odbcSource = OdbcSource::DataSourceName;
        std::map<OdbcSource, data::ConnectionString> otherOdbcSource;
    };

    ProviderState m_state;
    // The sets of the other providers, by lower-case provider name.
    std::map<QString, ProviderState> m_otherProviders;
};

} // namespace qb::datalinks
