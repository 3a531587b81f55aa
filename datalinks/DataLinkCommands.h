#pragma once
// The two commands that make a new connection: a new data link file, edited by the data link
// editor, and a new connection string, asked for in this process. A main window (explorer or
// console) calls them inside its own frame (wait cursor, error box) on its WindowConnection, whose
// hooks are the window's before-connect step, close command, recent list and after-connect step.
//
// Failures throw Brelib::exception with the complete message; the window shows it under its
// error caption. A cancelled command ends without a message.
#include "datalinks/DataLinkEditor.h"

#include <QString>
#include <functional>
#include <memory>

namespace qb {
class WindowConnection;
}

namespace qb::data {
class DataSource;
}

namespace qb::datalinks {

enum class CommandOutcome {
    Connected,
    Cancelled, // the user cancelled the editor or the prompt
    Refused,   // a step of the window said no
};

// For the target the user chose in the save dialog (chooseNewDataLinkFile): the editor runs on a
// temporary file beside it; when it saved a provider, the file is tried, the window's
// before-connect step runs, the file is moved over the target and opened for real. Cancelling
// or any failure leaves no temporary file and the target untouched.
CommandOutcome createDataLinkFile(WindowConnection& connection, const QString& target,
                                  const DataLinkEditor& editor = DataLinkEditor::standard());

// Asks for a data source; returns it initialized, or nullptr when the user cancelled. Throws
// ProviderError when initializing fails (DB_E_CANCELED counts as cancelled).
using DataSourcePrompt = std::function<std::shared_ptr<data::DataSource>()>;

// The window's before-connect step and close command, then the prompt (promptDataSource for the
// dialog), then the session and the after-connect step. The old connection is closed before
// the prompt, so a cancelled prompt leaves the window without one.
CommandOutcome createConnectionString(WindowConnection& connection, const DataSourcePrompt& prompt);

// The same command in the other order: the prompt first, then the window's before-connect step,
// its close command and the new connection. So a cancelled prompt (or one whose data source
// fails) leaves the window with the connection it had.
CommandOutcome createConnectionStringKeepingOld(WindowConnection& connection, const DataSourcePrompt& prompt);

} // namespace qb::datalinks
