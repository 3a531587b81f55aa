#pragma once
// The data source and session a window works on, and the name it was opened under. The window's
// open and close commands around it (trial open, the window's steps, the recent list) are
// common/WindowConnection's. Failures throw Brelib::exception with the complete message.
#include "dataaccess/Provider.h"

#include <QString>
#include <memory>
#include <mutex>

namespace qb::data {

class Connection {
public:
    // Puts an initialized data source in place under the name and creates its session: the real
    // open of the window's opening commands, also of those that build their data source
    // themselves (a new data link file, the connection-string prompt). On failure the data
    // source is uninitialized and the provider's text alone is thrown.
    void install(std::shared_ptr<DataSource> initialized, const QString& connectionName);

    // Drops the session, then the data source; the name becomes empty.
    void close();

    // True as long as a data source or a session is held.
    bool isConnected() const;
    QString connectionName() const;
    std::shared_ptr<Session> session() const;
    std::shared_ptr<DataSource> dataSource() const;

    // An initialized data source for a data link file (isDataLinkFile) or a connection string.
    // Throws ProviderError.
    static std::shared_ptr<DataSource> openDataSource(const QString& name, bool isDataLinkFile);

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<DataSource> m_dataSource;
    std::shared_ptr<Session> m_session;
    QString m_connectionName;
};

} // namespace qb::data
