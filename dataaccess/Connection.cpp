#include "dataaccess/Connection.h"

#include "common/BrelibException.h"
#include "common/StringTable.h"
#include "dataaccess/DataSourceFactory.h"
#include "dataaccess/ErrorText.h"

namespace qb::data {

std::shared_ptr<DataSource> Connection::openDataSource(const QString& name, bool isDataLinkFile)
{
    std::shared_ptr<DataSource> source = isDataLinkFile ? createDataSourceFromFile(name) : createDataSource(name);
    source->initialize();
    return source;
}

Connection::OpenResult Connection::openConnection(const QString& name, bool isDataLinkFile)
{
    trialOpen(name, isDataLinkFile);
    if (!beforeConnect())
        return OpenResult::Refused;
    return replaceConnection(name, isDataLinkFile);
}

void Connection::trialOpen(const QString& name, bool isDataLinkFile)
{
    try {
        openDataSource(name, isDataLinkFile)->uninitialize();
    } catch (const ProviderError& e) {
        throw actionError(kActionConnect, e);
    }
}

bool Connection::beforeConnect()
{
    return !m_hooks.beforeConnect || m_hooks.beforeConnect();
}

bool Connection::closeForNewConnection()
{
    if (m_hooks.closeConnection)
        return m_hooks.closeConnection();
    close();
    return true;
}

void Connection::afterConnect()
{
    if (m_hooks.afterConnect)
        m_hooks.afterConnect();
}

Connection::OpenResult Connection::replaceConnection(const QString& name, bool isDataLinkFile)
{
    if (!closeForNewConnection())
        return OpenResult::Refused;

    std::shared_ptr<DataSource> source;
    try {
        source = openDataSource(name, isDataLinkFile);
    } catch (const ProviderError& e) {
        throw Brelib::exception(providerErrorText(e));
    }
    install(std::move(source), isDataLinkFile ? name : connectionStringName());

    if (isDataLinkFile && m_hooks.addToRecentList)
        m_hooks.addToRecentList(name);
    afterConnect();
    return OpenResult::Opened;
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

QString Connection::captionSuffix() const
{
    std::lock_guard lock(m_mutex);
    return captionSuffix(m_dataSource || m_session, m_connectionName);
}

QString Connection::captionSuffix(bool connected, const QString& connectionName)
{
    if (!connected)
        return QStringLiteral(" - no connection");
    if (connectionName.isEmpty())
        return QStringLiteral(" - connection string");
    return QStringLiteral(" - [") + connectionName + QStringLiteral("]");
}

} // namespace qb::data
