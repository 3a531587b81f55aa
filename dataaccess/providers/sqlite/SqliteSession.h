#pragma once
// A session on an SQLite connection: commands, the tables and procedures schemas, transactions.
#include "dataaccess/Provider.h"

#include <memory>

namespace qb::data::sqlite {

class SqliteDatabase;

class SqliteSession final : public Session {
public:
    explicit SqliteSession(std::shared_ptr<SqliteDatabase> db) : m_db(std::move(db)) {}

    // Runs every statement of the text in order and returns the rows of the last one. A statement
    // without result columns runs to completion: *rowsAffected = its changes. One with result
    // columns: *rowsAffected = -1 and its rowset.
    std::unique_ptr<Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override;
    // TABLE_SCHEMA is empty (NULL) for the main database and the database name for attached ones;
    // SQLite's internal sqlite_ tables are left out. tableType "TABLE", "VIEW" or empty for both.
    std::unique_ptr<Rowset> tablesSchema(const QString& tableType) override;
    // SQLite has no stored procedures: always empty.
    std::unique_ptr<Rowset> proceduresSchema() override;

    bool supportsTransactions() const override { return true; }
    void startTransaction() override;
    void commit() override;
    void abort() override;

    bool tablesMayHaveRowids() const override { return true; }
    std::optional<SequentialStream*> openBlobByRowid(const QString& quotedObject, const QString& rowidName,
                                                     const QString& column, int64_t rowid) override;

    QString identifierQuoteOpen() const override { return QStringLiteral("["); }
    QString identifierQuoteClose() const override { return QStringLiteral("]"); }

private:
    std::shared_ptr<SqliteDatabase> m_db;
};

} // namespace qb::data::sqlite
