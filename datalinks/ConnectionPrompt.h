#pragma once
// The dialogs a main window shows around the data link commands: the Data Link Properties dialog
// asking for a new connection in this process, and the file dialogs for data link files.
#include <QString>
#include <memory>

class QWidget;

namespace qb::data {
class DataSource;
}

namespace qb::datalinks {

// Shows the Data Link Properties dialog over the owner; on OK makes the data source from the
// whole string (the password too, whether or not it would be kept in a file) and initializes
// it. Returns nullptr when the user cancelled; throws ProviderError when initializing fails.
// The DataSourcePrompt of createConnectionString.
std::shared_ptr<data::DataSource> promptDataSource(QWidget* owner);

// The save dialog of a new data link file (the target of createDataLinkFile); empty when
// cancelled. Asks before an existing file is replaced. Each program titles it in its own words.
QString chooseNewDataLinkFile(QWidget* owner, const QString& title = QStringLiteral("Create a new Microsoft UDL-File"));

// The open dialog of an existing data link file; empty when cancelled.
QString chooseDataLinkFileToOpen(QWidget* owner);

} // namespace qb::datalinks
