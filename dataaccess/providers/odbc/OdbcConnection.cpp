#include "dataaccess/providers/odbc/OdbcConnection.h"

#include "dataaccess/Provider.h"
#include "dataaccess/providers/odbc/OdbcCheck.h"
#include "dataaccess/providers/odbc/OdbcDriverManager.h"
#include "dataaccess/providers/odbc/OdbcText.h"

#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <optional>

namespace qb::data::odbc {
namespace {

QString infoText(SQLHDBC dbc, SQLUSMALLINT what)
{
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, what, buffer, SQLSMALLINT(sizeof buffer), &bytes)))
        return {};
    return fromWide(buffer, bytes / 2, qsizetype(std::size(buffer)) - 1);
}

template <typename T>
T infoNumber(SQLHDBC dbc, SQLUSMALLINT what)
{
    T value = 0;
    if (!SQL_SUCCEEDED(SQLGetInfoW(dbc, what, &value, sizeof value, nullptr)))
        return 0;
    return value;
}

} // namespace

OdbcConnection::OdbcConnection(const ConnectionString& properties) : m_properties(properties)
{
    m_env = OdbcHandle::allocate(SQL_HANDLE_ENV, 0, SQL_NULL_HANDLE);
    check(SQLSetEnvAttr(m_env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, m_env.get());
    m_dbc = OdbcHandle::allocate(SQL_HANDLE_DBC, SQL_HANDLE_ENV, m_env.get());

    const OdbcConnectString target =
        OdbcConnectString::build(properties, [this](const QString& dsn) { return driverOfDsn(dsn); });
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(m_dbc.get(), nullptr, wideArg(target.text), SQL_NTS, out,
                                           SQLSMALLINT(std::size(out)), &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        // The SQLite ODBC driver says only "connect failed" for a missing file.
        if (target.kind == DriverKind::Sqlite && target.sqliteNoCreate && !target.sqliteDatabase.isEmpty() &&
            !QFileInfo::exists(target.sqliteDatabase)) {
            const Diagnostics d = readDiagnostics(SQL_HANDLE_DBC, m_dbc.get());
            throw ProviderError(STG_E_FILENOTFOUND,
                                QStringLiteral("The database file \"%1\" does not exist.").arg(target.sqliteDatabase) +
                                    (d.text.isEmpty() ? QString() : u'\n' + d.text));
        }
        check(rc, SQL_HANDLE_DBC, m_dbc.get());
        throw ProviderError(E_FAIL, QStringLiteral("The ODBC connection could not be opened."));
    }
    readDriverInfo(target);
}

OdbcConnection::~OdbcConnection() = default; // the handles disconnect and free themselves

QString OdbcConnection::driverOfDsn(const QString& dsn) const
{
    return driverOfDataSource(m_env.get(), dsn);
}

void OdbcConnection::readDriverInfo(const OdbcConnectString& target)
{
    const DriverKind kind = target.kind;
    SQLHDBC dbc = m_dbc.get();
    m_info.dbmsName = infoText(dbc, SQL_DBMS_NAME);
    const QString driverName = infoText(dbc, SQL_DRIVER_NAME);
    // A DSN or a driver given by path: the driver's own name tells what it is.
    m_info.kind = kind != DriverKind::Other ? kind : driverKindOf(driverName);
    const QString quote = infoText(dbc, SQL_IDENTIFIER_QUOTE_CHAR).trimmed(); // " " means none
    m_info.quoteOpen = m_info.quoteClose = quote;
    const SQLUINTEGER getData = infoNumber<SQLUINTEGER>(dbc, SQL_GETDATA_EXTENSIONS);
    m_info.anyOrderGetData = (getData & SQL_GD_ANY_ORDER) != 0;
    m_info.bindAndGetData = (getData & SQL_GD_ANY_COLUMN) != 0 && (getData & SQL_GD_BOUND) != 0;
    m_info.transactions = infoNumber<SQLUSMALLINT>(dbc, SQL_TXN_CAPABLE) != SQL_TC_NONE;
    m_info.readCommitted = (infoNumber<SQLUINTEGER>(dbc, SQL_TXN_ISOLATION_OPTION) & SQL_TXN_READ_COMMITTED) != 0;
    // The SQLite ODBC driver's SQLCancel also closes the statement, racing with the thread that
    // is fetching from it (heap corruption seen with 0.9998): a stop never cancels its driver
    // call; the call runs to its end and the next one is refused.
    m_info.cancelFromOtherThread = m_info.kind != DriverKind::Sqlite;
    m_info.showSystemObjects = target.showSystemObjects;
    m_info.getDataResumesColumns = m_info.kind == DriverKind::Sqlite;
    m_info.narrowStatementText = m_info.kind == DriverKind::Sqlite;
    m_info.declareFetch = m_info.kind == DriverKind::PostgreSql && target.declareFetch;
    m_info.sqliteRowids = m_info.kind == DriverKind::Sqlite;
}

void OdbcConnection::setAutocommit(bool on)
{
    check(SQLSetConnectAttrW(m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
                             reinterpret_cast<SQLPOINTER>(uintptr_t(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                             SQL_IS_UINTEGER),
          SQL_HANDLE_DBC, m_dbc.get());
}

void OdbcConnection::startTransaction()
{
    if (!m_info.transactions)
        return;
    if (m_info.readCommitted) {
        SQLUINTEGER current = 0;
        if (!SQL_SUCCEEDED(SQLGetConnectAttrW(m_dbc.get(), SQL_ATTR_TXN_ISOLATION, &current, 0, nullptr)) ||
            current != SQL_TXN_READ_COMMITTED)
            check(SQLSetConnectAttrW(m_dbc.get(), SQL_ATTR_TXN_ISOLATION,
                                     reinterpret_cast<SQLPOINTER>(uintptr_t(SQL_TXN_READ_COMMITTED)), SQL_IS_UINTEGER),
                  SQL_HANDLE_DBC, m_dbc.get());
    }
    setAutocommit(false);
}

void OdbcConnection::endTransaction(bool commit)
{
    if (!m_info.transactions)
        return;
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, m_dbc.get(), commit ? SQL_COMMIT : SQL_ROLLBACK);
    // The reason of a failed end is read now: the next call on the handle clears it.
    std::optional<ProviderError> failure;
    try {
        check(rc, SQL_HANDLE_DBC, m_dbc.get());
    } catch (const ProviderError& e) {
        failure = e;
    }
    // Autocommit comes back on even when the end failed, so the next statement does not run in
    // a transaction nobody will end.
    const SQLRETURN autocommit = SQLSetConnectAttrW(m_dbc.get(), SQL_ATTR_AUTOCOMMIT,
                                                    reinterpret_cast<SQLPOINTER>(uintptr_t(SQL_AUTOCOMMIT_ON)),
                                                    SQL_IS_UINTEGER);
    if (failure)
        throw *failure;
    check(autocommit, SQL_HANDLE_DBC, m_dbc.get());
}

} // namespace qb::data::odbc
