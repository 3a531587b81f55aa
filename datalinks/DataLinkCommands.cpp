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

namespace {

// The prompt's data source; null when the user cancelled.
std::shared_ptr<data::DataSource> promptedSource(const DataSourcePrompt& prompt)
{
    try {
        return prompt();
    } catch (const data::ProviderError& e) {
        if (e.hr() == data::DB_E_CANCELED)
            return nullptr;
        throw data::actionError(data::kActionConnect, e);
    }
}

void installPrompted(WindowConnection& connection, std::shared_ptr<data::DataSource> source)
{
    connection.install(std::move(source), WindowConnection::connectionStringName());
    connection.afterConnect();
}

} // namespace

CommandOutcome createConnectionString(WindowConnection& connection, const DataSourcePrompt& prompt)
{
    if (!connection.beforeConnect() || !connection.closeForNewConnection())
        return CommandOutcome::Refused;
    std::shared_ptr<data::DataSource> source = promptedSource(prompt);
    if (!source)
        return CommandOutcome::Cancelled;
    installPrompted(connection, std::move(source));
    return CommandOutcome::Connected;
}

CommandOutcome createConnectionStringKeepingOld(WindowConnection& connection, const DataSourcePrompt& prompt)
{
    std::shared_ptr<data::DataSource> source = promptedSource(prompt);
    if (!source)
        return CommandOutcome::Cancelled;
    if (!connection.beforeConnect() || !connection.closeForNewConnection())
        return CommandOutcome::Refused;
    installPrompted(connection, std::move(source));
    return CommandOutcome::Connected;
}

} // namespace qb::datalinks
