#include "datalinks/DataLinkCommands.h"

#include "common/BrelibException.h"
#include "dataaccess/Connection.h"
#include "dataaccess/ErrorText.h"
#include "datalinks/NewDataLinkFile.h"

namespace qb::datalinks {

CommandOutcome createDataLinkFile(data::Connection& connection, const QString& target, const DataLinkEditor& editor)
{
    NewDataLinkFile file(target);
    file.edit(editor);
    if (file.provider().isEmpty())
        return CommandOutcome::Cancelled;
    data::Connection::trialOpen(file.temporaryPath(), true);
    if (!connection.beforeConnect())
        return CommandOutcome::Refused;
    file.moveToTarget();
    return connection.replaceConnection(target, true) == data::Connection::OpenResult::Opened ? CommandOutcome::Connected
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

void installPrompted(data::Connection& connection, std::shared_ptr<data::DataSource> source)
{
    connection.install(std::move(source), data::Connection::connectionStringName());
    connection.afterConnect();
}

} // namespace

CommandOutcome createConnectionString(data::Connection& connection, const DataSourcePrompt& prompt)
{
    if (!connection.beforeConnect() || !connection.closeForNewConnection())
        return CommandOutcome::Refused;
    std::shared_ptr<data::DataSource> source = promptedSource(prompt);
    if (!source)
        return CommandOutcome::Cancelled;
    installPrompted(connection, std::move(source));
    return CommandOutcome::Connected;
}

CommandOutcome createConnectionStringKeepingOld(data::Connection& connection, const DataSourcePrompt& prompt)
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
