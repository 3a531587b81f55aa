#include "datalinks/DataLinkCommands.h"

#include "common/WindowConnection.h"
#include "dataaccess/ErrorText.h"
#include "datalinks/NewDataLinkFile.h"
#include "platform/BrelibException.h"

namespace qb::datalinks {

CommandOutcome createDataLinkFile(WindowConnection& connection, const QString& target, const DataLinkEditor& editor)
{
    NewDataLinkFile file(target);
    file.edit(editor);
    if (file.provider().isEmpty())
        return CommandOutcome::Cancelled;
    WindowConnection::trialOpen(file.temporaryPath(), true);
    if (!connection.beforeConnect())
        return CommandOutcome::Refused;
    file.moveToTarget();
    return connection.replaceConnection(target, true) == WindowConnection::OpenResult::Opened ? CommandOutcome::Connected
                                                                                               : CommandOutcome::Refused;
}

CommandOutcome createConnectionString(WindowConnection& connection, const DataSourcePrompt& prompt)
{
    if (!connection.beforeConnect() || !connection.closeForNewConnection())
        return CommandOutcome::Refused;
    std::shared_ptr<data::DataSource> source;
    try {
        source = prompt();
    } catch (const data::ProviderError& e) {
        if (e.hr() == data::DB_E_CANCELED)
            return CommandOutcome::Cancelled;
        throw data::actionError(data::kActionConnect, e);
    }
    if (!source)
        return CommandOutcome::Cancelled;
    connection.install(std::move(source), WindowConnection::connectionStringName());
    connection.afterConnect();
    return CommandOutcome::Connected;
}

} // namespace qb::datalinks
