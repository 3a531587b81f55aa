#include "ScriptedSession.h"

#include <stdexcept>

namespace qbtest {

using namespace qb::data;

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
        m_inner->restart();
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
        const bool more = m_inner->next(skip);
        if (more) {
            m_rows += static_cast<int>(skip) + 1;
            m_session->m_rowsFetched += skip + 1;
        }
        return more;
    }
    void getData(std::byte* rowBuffer) override { m_inner->getData(rowBuffer); }

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

int ScriptedSession::interrupts() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_interrupts;
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

void ScriptedSession::interrupt()
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        ++m_interrupts;
        m_changed.notify_all();
    }
    m_inner->interrupt();
}

void ScriptedSession::hold()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const int interruptsBefore = m_interrupts;
    const bool honor = m_script.honorInterrupt;
    m_holding = true;
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return m_released || (honor && m_interrupts != interruptsBefore); });
    m_holding = false;
    if (!m_released)
        throw ProviderError(DB_E_CANCELED, QStringLiteral("interrupted"));
}

std::unique_ptr<Rowset> ScriptedSession::wrap(std::unique_ptr<Rowset> inner)
{
    if (!inner)
        return inner;
    RowsetScript script;
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        script = m_script;
    }
    return std::make_unique<ScriptedRowset>(std::move(inner), shared_from_this(), script);
}

std::unique_ptr<Rowset> ScriptedSession::execute(const QString& sql, int64_t* rowsAffected)
{
    checkOpen();
    return wrap(m_inner->execute(sql, rowsAffected));
}

std::unique_ptr<Rowset> ScriptedSession::tablesSchema(const QString& tableType)
{
    checkOpen();
    return wrap(m_inner->tablesSchema(tableType));
}

std::unique_ptr<Rowset> ScriptedSession::proceduresSchema()
{
    checkOpen();
    return wrap(m_inner->proceduresSchema());
}

} // namespace qbtest
