#pragma once
// A session that hands every call to another one: the base of the test wrappers that change a
// few calls of a real session and leave the rest alone.
#include "dataaccess/Provider.h"

#include <memory>

namespace qbtest {

class ForwardingSession : public qb::data::Session {
public:
    explicit ForwardingSession(std::shared_ptr<qb::data::Session> inner) : m_inner(std::move(inner)) {}

    std::unique_ptr<qb::data::Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override
    {
        return m_inner->execute(sql, rowsAffected);
    }
    std::unique_ptr<qb::data::Rowset> tablesSchema(const QString& tableType) override
    {
        return m_inner->tablesSchema(tableType);
    }
    std::unique_ptr<qb::data::Rowset> proceduresSchema() override { return m_inner->proceduresSchema(); }
    bool supportsTransactions() const override { return m_inner->supportsTransactions(); }
    void startTransaction() override { m_inner->startTransaction(); }
    void commit() override { m_inner->commit(); }
    void abort() override { m_inner->abort(); }
    QString rowCountStatement(const QString& quotedObject) const override
    {
        return m_inner->rowCountStatement(quotedObject);
    }
    bool tablesMayHaveRowids() const override { return m_inner->tablesMayHaveRowids(); }
    std::unique_ptr<qb::data::Rowset> executePositioned(const QString& sql) override
    {
        return m_inner->executePositioned(sql);
    }
    std::optional<qb::data::SequentialStream*> openValueInPieces(const QString& quotedObject, const QString& column,
                                                                 qb::data::DBTYPE type, uint64_t row) override
    {
        return m_inner->openValueInPieces(quotedObject, column, type, row);
    }
    std::optional<qb::data::SequentialStream*> openBlobByRowid(const QString& quotedObject, const QString& rowidName,
                                                               const QString& column, int64_t rowid) override
    {
        return m_inner->openBlobByRowid(quotedObject, rowidName, column, rowid);
    }
    QString identifierQuoteOpen() const override { return m_inner->identifierQuoteOpen(); }
    QString identifierQuoteClose() const override { return m_inner->identifierQuoteClose(); }

private:
    std::shared_ptr<qb::data::Session> m_inner;
};

} // namespace qbtest
