#pragma once
// A session around a real one that misbehaves on request, for the browser suites: its rowsets can
// fail after some rows (a provider that loses the connection midway), and a call can hold at a
// chosen point until released or stopped (a long statement), optionally ignoring the stop (a
// provider that does not react in time). A hold waits on the job's interrupt token the way a
// driver call does; a stopped hold either fails by itself or, with callOnAfterStop, goes on into
// the real provider's call, so that the provider's own refusal is what a test sees.
#include "support/ForwardingSession.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace qbtest {

struct RowsetScript {
    std::optional<int> failAfterRows{}; // next() throws ProviderError(E_FAIL, kInjectedFailure)
    std::optional<int> holdAfterRows{}; // next() holds after that many rows since the last restart
    bool holdBeforeExecute = false;     // execute() holds before the provider sees the statement
    bool holdAfterExecute = false;      // execute() holds once the provider has executed it
    bool honorInterrupt = true;         // a stop ends a hold
    bool callOnAfterStop = false;       // a hold ended by a stop goes on into the provider's call
    bool failToOpen = false;            // the schema or statement cannot be opened
    bool throwUnexpected = false;       // opening throws something that is not a provider error
};

inline constexpr char16_t kInjectedFailure[] = u"The connection to the server was lost.";

class ScriptedSession : public ForwardingSession, public std::enable_shared_from_this<ScriptedSession> {
public:
    explicit ScriptedSession(std::shared_ptr<qb::data::Session> inner) : ForwardingSession(std::move(inner)) {}

    // Applies to the calls and rowsets made from now on.
    void setScript(const RowsetScript& script);
    // Lets held calls go on, now and later.
    void release();
    // Waits until a call is holding.
    bool waitUntilHeld(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    bool holding() const;
    // Holds ended by the job's stop.
    int stops() const;
    // Rows fetched so far by every rowset of this session (skipped ones included).
    uint64_t rowsFetched() const { return m_rowsFetched.load(); }
    // Provider calls that began after the job's stop and still did their work: a stop the
    // provider let through.
    int callsServedAfterStop() const { return m_servedAfterStop.load(); }
    // execute() calls that have reached the provider's execute (set before the call).
    int executesEntered() const { return m_executesEntered.load(); }

    std::unique_ptr<qb::data::Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override;
    std::unique_ptr<qb::data::Rowset> tablesSchema(const QString& tableType) override;
    std::unique_ptr<qb::data::Rowset> proceduresSchema() override;

private:
    friend class ScriptedRowset;
    std::unique_ptr<qb::data::Rowset> wrap(std::unique_ptr<qb::data::Rowset> inner);
    // Holds until released or stopped; a stop throws unless the script goes on after it.
    void hold();
    // Throws what the script asks for at opening.
    void checkOpen() const;
    RowsetScript script() const;
    // Runs a call of the real provider, counting it when it began after the stop and succeeded.
    template <typename Call>
    auto provider(Call&& call);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    RowsetScript m_script;
    bool m_released = false;
    bool m_holding = false;
    int m_stops = 0;
    std::atomic<uint64_t> m_rowsFetched{0};
    std::atomic<int> m_servedAfterStop{0};
    std::atomic<int> m_executesEntered{0};
};

} // namespace qbtest
