#pragma once
// A session of the ODBC provider: statements, schema rowsets and local transactions on the data
// source's connection (ODBC transactions belong to the connection, so the sessions of
// one data source share theirs).
#include "dataaccess/Provider.h"

#include <memory>

namespace qb::data::odbc {

class OdbcConnection;

class OdbcSession final : public Session {
public:
    explicit OdbcSession(std::shared_ptr<OdbcConnection> connection);

    std::unique_ptr<Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override;
    std::unique_ptr<Rowset> tablesSchema(const QString& tableType) override;
    std::unique_ptr<Rowset> proceduresSchema() override;

    bool supportsTransactions() const override;
    void startTransaction() override;
    void commit() override;
    void abort() override;

    std::optional<SequentialStream*> openValueInPieces(const QString& quotedObject, const QString& column,
                                                       DBTYPE type, uint64_t row) override;

    // Smaller pieces for openValueInPieces, so a test sees a short value cross many of them.
    void setValuePieceUnits(uint64_t units) { m_pieceUnits = units; }

    bool tablesMayHaveRowids() const override;
    std::unique_ptr<Rowset> executePositioned(const QString& sql) override;

    QString identifierQuoteOpen() const override;
    QString identifierQuoteClose() const override;

private:
    std::shared_ptr<OdbcConnection> m_connection;
    uint64_t m_pieceUnits;
};

} // namespace qb::data::odbc
