#include "dataaccess/Connection.h"

#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/ErrorText.h"
#include "platform/BrelibException.h"

namespace qb::data {

std::shared_ptr<DataSource> Connection::openDataSource(const QString& name, bool isDataLinkFile)
{
    std::shared_ptr<DataSource> source = isDataLinkFile ? createDataSourceFromFile(name) : createDataSource(name);
    source->initialize();
    return source;
}

void Connection::install(std::shared_ptr<DataSource> initialized, const QString& connectionName)
{
    std::shared_ptr<Session> session;
    try {
        session = initialized->createSession();
    } catch (const ProviderError& e) {
        initialized->uninitialize();
        throw Brelib::exception(providerErrorText(e));
    }
    std::lock_guard lock(m_mutex);
    m_dataSource = std::move(initialized);
    m_session = std::move(session);
    m_connectionName = connectionName;
}

void Connection::close()
{
    std::shared_ptr<DataSource> source;
    {
        std::lock_guard lock(m_mutex);
        m_connectionName.clear();
        m_session.reset();
        source = std::move(m_dataSource);
    }
    if (source)
        source->uninitialize();
}

bool Connection::isConnected() const
{
    std::lock_guard lock(m_mutex);
    return m_dataSource || m_session;
}

QString Connection::connectionName() const
{
    std::lock_guard lock(m_mutex);
    return m_connectionName;
}

std::shared_ptr<Session> Connection::session() const
{
    std::lock_guard lock(m_mutex);
    return m_session;
}

std::shared_ptr<DataSource> Connection::dataSource() const
{
    std::lock_guard lock(m_mutex);
    return m_dataSource;
}

} // namespace qb::data
