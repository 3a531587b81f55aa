#pragma once
// A session whose statements answer as the test says: a rowset, nothing, or a failure; with or
// without a rows-affected value, and with transactions that can fail.
#include "dataaccess/Provider.h"

#include <QStringList>
#include <functional>
#include <stdexcept>

namespace qbtest {

class FakeSession : public qb::data::Session {
public:
    // Answers one statement; leaves *rowsAffected alone unless it sets it.
    std::function<std::unique_ptr<qb::data::Rowset>(const QString& sql, int64_t* rowsAffected)> answer =
        [](const QString&, int64_t*) { return std::unique_ptr<qb::data::Rowset>(); };

    std::unique_ptr<qb::data::Rowset> execute(const QString& sql, int64_t* rowsAffected) override
    {
        calls << QStringLiteral("execute ") + sql;
        return answer(sql, rowsAffected);
    }
    std::unique_ptr<qb::data::Rowset> tablesSchema(const QString&) override { return nullptr; }
    std::unique_ptr<qb::data::Rowset> proceduresSchema() override { return nullptr; }

    bool supportsTransactions() const override { return transactions; }
    void startTransaction() override
    {
        calls << QStringLiteral("start");
        if (startFails)
            throw qb::data::ProviderError(qb::data::E_FAIL, QStringLiteral("no transaction"));
    }
    void commit() override
    {
        calls << QStringLiteral("commit");
        if (commitFails)
            throw qb::data::ProviderError(qb::data::E_FAIL, QStringLiteral("deferred constraint failed"));
    }
    void abort() override { calls << QStringLiteral("abort"); }
    QString identifierQuoteOpen() const override { return QStringLiteral("\""); }
    QString identifierQuoteClose() const override { return QStringLiteral("\""); }

    bool transactions = true;
    bool startFails = false;
    bool commitFails = false;
    QStringList calls;
};

} // namespace qbtest
