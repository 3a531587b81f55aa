#include "dataaccess/providers/odbc/OdbcSession.h"

#include "dataaccess/InterruptToken.h"

#include "dataaccess/providers/odbc/OdbcCatalog.h"
#include "dataaccess/providers/odbc/OdbcConnection.h"
#include "dataaccess/providers/odbc/OdbcRowset.h"
#include "dataaccess/providers/odbc/OdbcStatement.h"
#include "dataaccess/providers/odbc/OdbcValuePieces.h"

namespace qb::data::odbc {

OdbcSession::OdbcSession(std::shared_ptr<OdbcConnection> connection)
    : m_connection(std::move(connection)), m_pieceUnits(kValuePieceUnits)
{
}

std::unique_ptr<Rowset> OdbcSession::execute(const QString& sql, int64_t* rowsAffected)
{
    auto statement = std::make_shared<OdbcStatement>(m_connection);
    if (!statement->execute(sql, rowsAffected))
        return nullptr;
    if (rowsAffected)
        *rowsAffected = -1;
    return std::make_unique<OdbcRowset>(std::move(statement), sql);
}

std::unique_ptr<Rowset> OdbcSession::executePositioned(const QString& sql)
{
    if (!m_connection->info().declareFetch)
        return nullptr;
    InterruptToken::checkArmed();
    // A connection of its own: the cursor's transaction stays open while it is kept, and on the
    // session's connection a statement that writes would commit it, which makes the server copy
    // the whole result to keep the cursor; the session's own transactions would take it in too.
    auto own = std::make_shared<OdbcConnection>(m_connection->properties());
    auto statement = std::make_shared<OdbcStatement>(std::move(own));
    statement->setScrollable();
    if (!statement->execute(sql, nullptr))
        return nullptr;
    return std::make_unique<OdbcRowset>(std::move(statement), sql);
}

bool OdbcSession::tablesMayHaveRowids() const
{
    return m_connection->info().sqliteRowids;
}

std::unique_ptr<Rowset> OdbcSession::tablesSchema(const QString& tableType)
{
    return readTablesSchema(m_connection, tableType);
}

std::unique_ptr<Rowset> OdbcSession::proceduresSchema()
{
    return readProceduresSchema(m_connection);
}

bool OdbcSession::supportsTransactions() const
{
    return m_connection->info().transactions;
}

void OdbcSession::startTransaction()
{
    InterruptToken::checkArmed();
    m_connection->startTransaction();
}

void OdbcSession::commit()
{
    InterruptToken::checkArmed();
    m_connection->endTransaction(true);
}

void OdbcSession::abort()
{
    InterruptToken::checkArmed();
    m_connection->endTransaction(false);
}

std::optional<SequentialStream*> OdbcSession::openValueInPieces(const QString& quotedObject, const QString& column,
                                                                DBTYPE type, uint64_t row)
{
    return openValuePieces(m_connection, quotedObject, column, type, row, m_pieceUnits);
}

QString OdbcSession::identifierQuoteOpen() const
{
    return m_connection->info().quoteOpen;
}

QString OdbcSession::identifierQuoteClose() const
{
    return m_connection->info().quoteClose;
}

} // namespace qb::data::odbc
