#include "ScriptedSession.h"

#include "dataaccess/InterruptToken.h"

#include <stdexcept>

namespace qbtest {

using namespace qb::data;

template <typename Call>
auto ScriptedSession::provider(Call&& call)
{
    const bool afterStop = InterruptToken::armedInterrupted();
    auto result = call();
    if (afterStop)
        ++m_servedAfterStop;
    return result;
}

class ScriptedRowset : public Rowset {
public:
    ScriptedRowset(std::unique_ptr<Rowset> inner, std::shared_ptr<ScriptedSession> session, RowsetScript script)
        : m_inner(std::move(inner)), m_session(std::move(session)), m_script(script)
    {
    }
    std::vector<ColumnInfo> columns() const override { return m_inner->columns(); }
    void setBindings(std::vector<Binding> bindings) override { m_inner->setBindings(std::move(bindings)); }
    void restart() override
    {
        m_session->provider([&] {
            m_inner->restart();
            return true;
        });
        m_rows = 0;
    }
    bool next(uint64_t skip = 0) override
    {
        if (m_script.failAfterRows && m_rows >= *m_script.failAfterRows)
            throw ProviderError(E_FAIL, QString::fromUtf16(kInjectedFailure));
        if (m_script.holdAfterRows && m_rows >= *m_script.holdAfterRows && !m_held) {
            m_held = true;
            m_session->hold();
        }
        const bool more = m_session->provider([&] { return m_inner->next(skip); });
        if (more) {
            m_rows += static_cast<int>(skip) + 1;
            m_session->m_rowsFetched += skip + 1;
        }
        return more;
    }
    void getData(std::byte* rowBuffer) override
    {
        m_session->provider([&] {
            m_inner->getData(rowBuffer);
            return true;
        });
    }
    void suspend() override { m_inner->suspend(); }

private:
    std::unique_ptr<Rowset> m_inner;
    std::shared_ptr<ScriptedSession> m_session;
    RowsetScript m_script;
    int m_rows = 0;
    bool m_held = false;
};

void ScriptedSession::setScript(const RowsetScript& script)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_script = script;
    m_released = false;
}

RowsetScript ScriptedSession::script() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_script;
}

void ScriptedSession::release()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_released = true;
    m_changed.notify_all();
}

bool ScriptedSession::waitUntilHeld(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [this] { return m_holding; });
}

int ScriptedSession::stops() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_stops;
}

bool ScriptedSession::holding() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_holding;
}

void ScriptedSession::checkOpen() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_script.failToOpen)
        throw ProviderError(E_FAIL, QString::fromUtf16(kInjectedFailure));
    if (m_script.throwUnexpected)
        throw std::runtime_error("unexpected");
}

void ScriptedSession::hold()
{
    // Woken by the stop as a driver call in flight would be cancelled.
    struct Wake : InterruptToken::Cancellable {
        ScriptedSession& session;
        bool stopped = false; // under the session's mutex
        explicit Wake(ScriptedSession& s) : session(s) {}
        void cancel() override
        {
            std::lock_guard<std::mutex> guard(session.m_mutex);
            stopped = true;
            session.m_changed.notify_all();
        }
    } wake(*this);
    const RowsetScript script = this->script();
    std::optional<InterruptToken::DriverCall> call;
    if (script.honorInterrupt) {
        try {
            call.emplace(wake);
        } catch (const ProviderError&) {
            wake.stopped = true; // stopped before the hold began
        }
    }
    bool stopped = false;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_holding = true;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released || wake.stopped; });
        m_holding = false;
        stopped = !m_released;
        if (stopped)
            ++m_stops;
    }
    call.reset();
    if (stopped && !script.callOnAfterStop)
        throw ProviderError(DB_E_CANCELED, QStringLiteral("interrupted"));
}

std::unique_ptr<Rowset> ScriptedSession::wrap(std::unique_ptr<Rowset> inner)
{
    if (!inner)
        return inner;
    return std::make_unique<ScriptedRowset>(std::move(inner), shared_from_this(), script());
}

std::unique_ptr<Rowset> ScriptedSession::execute(const QString& sql, int64_t* rowsAffected)
{
    checkOpen();
    const RowsetScript script = this->script();
    if (script.holdBeforeExecute)
        hold();
    ++m_executesEntered;
    std::unique_ptr<Rowset> rowset = provider([&] { return ForwardingSession::execute(sql, rowsAffected); });
    if (script.holdAfterExecute)
        hold();
    return wrap(std::move(rowset));
}

std::unique_ptr<Rowset> ScriptedSession::tablesSchema(const QString& tableType)
{
    checkOpen();
    return wrap(provider([&] { return ForwardingSession::tablesSchema(tableType); }));
}

std::unique_ptr<Rowset> ScriptedSession::proceduresSchema()
{
    checkOpen();
    return wrap(provider([&] { return ForwardingSession::proceduresSchema(); }));
}

} // namespace qbtest
