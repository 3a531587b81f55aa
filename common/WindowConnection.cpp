#include "common/WindowConnection.h"

#include "dataaccess/ErrorText.h"
#include "platform/BrelibException.h"

namespace qb {

WindowConnection::OpenResult WindowConnection::openConnection(const QString& name, bool isDataLinkFile)
{
    trialOpen(name, isDataLinkFile);
    if (!beforeConnect())
        return OpenResult::Refused;
    return replaceConnection(name, isDataLinkFile);
}

void WindowConnection::trialOpen(const QString& name, bool isDataLinkFile)
{
    try {
        openDataSource(name, isDataLinkFile)->uninitialize();
    } catch (const data::ProviderError& e) {
        throw data::actionError(data::kActionConnect, e);
    }
}

bool WindowConnection::beforeConnect()
{
    return !m_hooks.beforeConnect || m_hooks.beforeConnect();
}

bool WindowConnection::closeForNewConnection()
{
    if (m_hooks.closeConnection)
        return m_hooks.closeConnection();
    close();
    return true;
}

void WindowConnection::afterConnect()
{
    if (m_hooks.afterConnect)
        m_hooks.afterConnect();
}

WindowConnection::OpenResult WindowConnection::replaceConnection(const QString& name, bool isDataLinkFile)
{
    if (!closeForNewConnection())
        return OpenResult::Refused;

    std::shared_ptr<data::DataSource> source;
    try {
        source = openDataSource(name, isDataLinkFile);
    } catch (const data::ProviderError& e) {
        throw Brelib::exception(data::providerErrorText(e));
    }
    install(std::move(source), isDataLinkFile ? name : connectionStringName());

    if (isDataLinkFile && m_hooks.addToRecentList)
        m_hooks.addToRecentList(name);
    afterConnect();
    return OpenResult::Opened;
}

QString WindowConnection::captionSuffix() const
{
    return captionSuffix(isConnected(), connectionName());
}

QString WindowConnection::captionSuffix(bool connected, const QString& connectionName)
{
    if (!connected)
        return QStringLiteral(" - no connection");
    if (connectionName.isEmpty())
        return QStringLiteral(" - connection string");
    return QStringLiteral(" - [") + connectionName + QStringLiteral("]");
}

} // namespace qb
