#pragma once
// One connected ODBC connection: its environment and connection handles, what the driver told
// about itself at connect time, and local transactions.
// Shared by the data source, its sessions and their rowsets; disconnected when the last one goes.
// Statements are interrupted through their caller's token (OdbcStatement.h), not here.
#include "dataaccess/providers/odbc/OdbcConnectString.h"
#include "dataaccess/providers/odbc/OdbcHandle.h"

#include <QString>

namespace qb::data::odbc {

struct OdbcDriverInfo {
    DriverKind kind = DriverKind::Other;
    QString dbmsName;
    QString quoteOpen;  // empty when the driver quotes no identifiers
    QString quoteClose;
    bool anyOrderGetData = false; // SQLGetData on any column in any order (SQL_GD_ANY_ORDER)
    // Columns can be bound with SQLBindCol while others are read with SQLGetData, and a bound
    // value that did not fit can still be read whole (SQL_GD_ANY_COLUMN and SQL_GD_BOUND).
    bool bindAndGetData = false;
    bool transactions = false;    // SQL_TXN_CAPABLE is not SQL_TC_NONE
    bool readCommitted = false;   // SQL_TXN_READ_COMMITTED can be set
    bool cancelFromOtherThread = true;
    // SQLGetData on a column read in part, after another column: psqlODBC starts the value over,
    // the SQLite ODBC driver goes on where it stopped.
    bool getDataResumesColumns = false;
    // Statement text as UTF-8 through the narrow SQLExecDirect: the SQLite ODBC driver's wide
    // entry turns characters outside the BMP (surrogate pairs) into garbage.
    bool narrowStatementText = false;
    bool showSystemObjects = false; // list system schemas' objects too (OdbcCatalog.h)
    // psqlODBC with UseDeclareFetch: a select runs through a server cursor, and a static one is
    // moved there by absolute fetches (without declare/fetch it would load the whole result first).
    bool declareFetch = false;
    // Tables may carry SQLite's row id (the SQLite ODBC driver).
    bool sqliteRowids = false;
};

class OdbcConnection {
public:
    // Connects with SQLDriverConnect (SQL_DRIVER_NOPROMPT). Throws ProviderError.
    explicit OdbcConnection(const ConnectionString& properties);
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    SQLHDBC handle() const { return m_dbc.get(); }
    const OdbcDriverInfo& info() const { return m_info; }
    // What this connection was made from: another connection to the same place is made from it.
    const ConnectionString& properties() const { return m_properties; }

    // Local transactions: autocommit off until commit or abort (which turn it on again).
    void startTransaction();
    void endTransaction(bool commit);

private:
    void readDriverInfo(const OdbcConnectString& target);
    void setAutocommit(bool on);
    QString driverOfDsn(const QString& dsn) const;

    ConnectionString m_properties;
    OdbcHandle m_env;
    OdbcHandle m_dbc;
    OdbcDriverInfo m_info;
};

} // namespace qb::data::odbc
