#pragma once
// A session around a real one that issues the run's Stop at one chosen point of a statement's
// life and records what the provider did with every call that began after it. A Stop landing in
// the gap between the run's own polls and the provider's call is the case that used to be lost;
// issuing it from inside the wrapper, on the run's own thread, lands it there every time.
#include "platform/Event.h"
#include "support/ForwardingSession.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>

namespace qbtest {

class StopPointSession : public ForwardingSession, public std::enable_shared_from_this<StopPointSession> {
public:
    enum class Point {
        None,
        BeforeExecute, // inside execute(), before the provider sees the statement
        AfterExecute,  // the provider has executed it; the rowset is not handed back yet
        BeforeFetch,   // before fetch call number `fetch` (restart or next, from 1) of the first rowset
        DuringExecute, // none issued here: `executeEntered` is set just before the provider call,
                       // for a test thread to issue the Stop while the call runs
    };

    // `stop` issues the run's Stop; `stopped` tells whether it has been issued.
    StopPointSession(std::shared_ptr<qb::data::Session> inner, std::function<void()> stop,
                     std::function<bool()> stopped)
        : ForwardingSession(std::move(inner)), m_stop(std::move(stop)), m_stopped(std::move(stopped))
    {
    }

    void stopAt(Point point, int fetch = 0)
    {
        m_point = point;
        m_fetch = fetch;
    }

    // "call: outcome" for each call that began after the Stop; outcome "refused" (cancelled by
    // the provider), "failed" (another error), or what it returned ("row", "end", "rowset", ...).
    QStringList callsAfterStop() const
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    // The outcome of the call the Stop landed in (DuringExecute), once it has returned.
    QString callInFlight() const
    {
        std::lock_guard lock(m_mutex);
        return m_inFlight;
    }

    qb::Event executeEntered;

    std::unique_ptr<qb::data::Rowset> execute(const QString& sql, int64_t* rowsAffected = nullptr) override;

    // Runs one call of the provider and records its outcome when it began after the Stop.
    template <typename Call, typename Outcome>
    auto record(const QString& name, Call&& call, Outcome&& outcome)
    {
        const bool after = m_stopped();
        try {
            auto result = call();
            note(after, name + QStringLiteral(": ") + outcome(result));
            return result;
        } catch (const qb::data::ProviderError& e) {
            note(after, name + (e.hr() == qb::data::DB_E_CANCELED ? QStringLiteral(": refused") : QStringLiteral(": failed")));
            throw;
        }
    }
    // A fetch call of a rowset (counted from 1 over the session's first rowset).
    void beforeFetch()
    {
        if (m_point == Point::BeforeFetch && ++m_fetches == m_fetch)
            m_stop();
    }

private:
    void note(bool afterStop, const QString& entry)
    {
        std::lock_guard lock(m_mutex);
        if (afterStop)
            m_calls << entry;
        else if (m_point == Point::DuringExecute && m_stopped() && m_inFlight.isEmpty())
            m_inFlight = entry;
    }

    std::function<void()> m_stop;
    std::function<bool()> m_stopped;
    Point m_point = Point::None;
    int m_fetch = 0;
    int m_fetches = 0;
    mutable std::mutex m_mutex;
    QStringList m_calls;
    QString m_inFlight;
};

class StopPointRowset : public qb::data::Rowset {
public:
    StopPointRowset(std::unique_ptr<qb::data::Rowset> inner, std::shared_ptr<StopPointSession> session)
        : m_inner(std::move(inner)), m_session(std::move(session))
    {
    }
    std::vector<qb::data::ColumnInfo> columns() const override { return m_inner->columns(); }
    void setBindings(std::vector<qb::data::Binding> bindings) override { m_inner->setBindings(std::move(bindings)); }
    void restart() override
    {
        m_session->beforeFetch();
        m_session->record(
            QStringLiteral("restart"), [&] { m_inner->restart(); return true; },
            [](const bool&) { return QStringLiteral("done"); });
    }
    bool next(uint64_t skip = 0) override
    {
        m_session->beforeFetch();
        return m_session->record(
            QStringLiteral("next"), [&] { return m_inner->next(skip); },
            [](const bool& row) { return row ? QStringLiteral("row") : QStringLiteral("end"); });
    }
    void getData(std::byte* rowBuffer) override { m_inner->getData(rowBuffer); }
    void suspend() override { m_inner->suspend(); }

private:
    std::unique_ptr<qb::data::Rowset> m_inner;
    std::shared_ptr<StopPointSession> m_session;
};

inline std::unique_ptr<qb::data::Rowset> StopPointSession::execute(const QString& sql, int64_t* rowsAffected)
{
    if (m_point == Point::BeforeExecute)
        m_stop();
    if (m_point == Point::DuringExecute)
        executeEntered.set();
    std::unique_ptr<qb::data::Rowset> rowset = record(
        QStringLiteral("execute"), [&] { return ForwardingSession::execute(sql, rowsAffected); },
        [](const std::unique_ptr<qb::data::Rowset>& r) { return r ? QStringLiteral("rowset") : QStringLiteral("no rowset"); });
    if (m_point == Point::AfterExecute)
        m_stop();
    if (!rowset)
        return rowset;
    return std::make_unique<StopPointRowset>(std::move(rowset), shared_from_this());
}

} // namespace qbtest
