#pragma once
// A session around a real one that misbehaves on request, for the browser suites: its rowsets can
// fail after some rows (a provider that loses the connection midway) or hold after some rows until
// released or interrupted (a long statement), optionally ignoring interrupts (a provider that does
// not react in time).
#include "dataaccess/Provider.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace qbtest {

struct RowsetScript {
    std::optional<int> failAfterRows{}; // next() throws ProviderError(E_FAIL, kInjectedFailure)
    std::optional<int> holdAfterRows{}; // next() blocks until released (or interrupted)
    bool honorInterrupt = true;       // an interrupt ends a hold with DB_E_CANCELED
    bool failToOpen = false;          // the schema or statement cannot be opened
    bool throwUnexpected = false;     // opening throws something that is not a provider error
};

inline constexpr char16_t kInjectedFailure[] = u"The connection to the server was lost.";

class ScriptedSession : public qb::data::Session, public std::enable_shared_from_this<ScriptedSession> {
public:
    explicit ScriptedSession(std::shared_ptr<qb::data::Session> inner) : m_inner(std::move(inner)) {}

    // Applies to the rowsets made from now on.
    void setScript(const RowsetScript& script);
    // Lets held rowsets go on, now and later.
    void release();
    // Waits until a rowset is holding.
    bool waitUntilHeld(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    int interrupts() const;
    bool holding() const;
    // Rows fetched so far by every rowset of this session (skipped ones included).
    uint64_t rowsFetched() const { return m_rowsFetched.load(); }

    std::unique_ptr<qb::data::Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override;
    std::unique_ptr<qb::data::Rowset> tablesSchema(const QString& tableType) override;
    std::unique_ptr<qb::data::Rowset> proceduresSchema() override;
    bool supportsTransactions() const override { return m_inner->supportsTransactions(); }
    void startTransaction() override { m_inner->startTransaction(); }
    void commit() override { m_inner->commit(); }
    void abort() override { m_inner->abort(); }
    void interrupt() override;
    QString identifierQuoteOpen() const override { return m_inner->identifierQuoteOpen(); }
    QString identifierQuoteClose() const override { return m_inner->identifierQuoteClose(); }

private:
    friend class ScriptedRowset;
    std::unique_ptr<qb::data::Rowset> wrap(std::unique_ptr<qb::data::Rowset> inner);
    // Called by a rowset that reached its hold; throws on interrupt.
    void hold();
    // Throws what the script asks for at opening.
    void checkOpen() const;

    std::shared_ptr<qb::data::Session> m_inner;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    RowsetScript m_script;
    bool m_released = false;
    bool m_holding = false;
    int m_interrupts = 0;
    std::atomic<uint64_t> m_rowsFetched{0};
};

} // namespace qbtest
