// The commands that open a connection: a data link file or connection string, a new data link
// file, a new connection string, the open dialog; the new-window rule of a connected window; the
// tip of the day.
#include "explorer/ui/MainWindow.h"

#include "platform/BrelibException.h"
#include "platform/StringTable.h"
#include "dataaccess/ErrorText.h"
#include "datalinks/ConnectionPrompt.h"
#include "datalinks/DataLinkCommands.h"
#include "explorer/startup/TipsLauncher.h"
#include "explorer/ui/WaitCursor.h"
#include "explorer/ui/WidgetPrompts.h"

#include <QApplication>

namespace qb::ui {
namespace {

// The failure of a command as one text, whatever layer raised it.
template <typename Command>
QString failureOf(Command&& command)
{
    try {
        command();
    } catch (const Brelib::exception& e) {
        return e.text();
    } catch (const data::ProviderError& e) {
        return data::providerErrorText(e);
    }
    return {};
}

} // namespace

QWidget* MainWindow::dialogOwner()
{
    // The window the user works in; a window started for a new connection is not shown yet.
    QWidget* active = QApplication::activeWindow();
    return active ? active : this;
}

void MainWindow::showConnectionError(const QString& text)
{
    // Opening a name shows its failure under an empty title, without an icon.
    showPlainMessage(dialogOwner(), settings::MessageIcon::None, QString(), text);
}

void MainWindow::newConnectionCommand(int id)
{
    // A connected window keeps its connection; another window makes the new one.
    if (isConnected()) {
        emit newWindowRequested(id);
        return;
    }
    if (id == kCmdNewDataLink)
        createDataLinkFile();
    else if (id == kCmdNewConnectionString)
        createConnectionString();
    else
        openDataLinkWithDialog();
}

bool MainWindow::openConnection(const QString& name, bool isDataLinkFile)
{
    QString error;
    {
        WaitCursor wait;
        error = failureOf([&] { m_connection->openConnection(name, isDataLinkFile); });
    }
    updateCaption();
    scheduleCommandUpdate();
    if (!error.isEmpty())
        showConnectionError(error);
    return isConnected();
}

bool MainWindow::openDataLinkWithDialog()
{
    const QString file = datalinks::chooseDataLinkFileToOpen(dialogOwner());
    if (file.isEmpty())
        return false;
    openConnection(file, true);
    return true;
}

bool MainWindow::createDataLinkFile()
{
    const QString target = datalinks::chooseNewDataLinkFile(dialogOwner());
    if (target.isEmpty())
        return false;
    auto outcome = datalinks::CommandOutcome::Cancelled;
    QString error;
    {
        WaitCursor wait;
        error = failureOf([&] { outcome = datalinks::createDataLinkFile(*m_connection, target, m_options.dataLinkEditor); });
    }
    updateCaption();
    scheduleCommandUpdate();
    if (!error.isEmpty())
        showPlainMessage(dialogOwner(), settings::MessageIcon::Error, loadString(data::kErrorBoxTitle), error);
    return error.isEmpty() && outcome == datalinks::CommandOutcome::Connected;
}

bool MainWindow::createConnectionString()
{
    auto outcome = datalinks::CommandOutcome::Cancelled;
    QString error;
    {
        WaitCursor wait;
        error = failureOf([&] {
            outcome = datalinks::createConnectionString(*m_connection, [this] {
                WaitCursor::Suspended forTheDialog;
                return datalinks::promptDataSource(dialogOwner());
            });
        });
    }
    updateCaption();
    scheduleCommandUpdate();
    if (!error.isEmpty())
        showPlainMessage(dialogOwner(), settings::MessageIcon::Error, loadString(data::kErrorBoxTitle), error);
    return error.isEmpty() && outcome == datalinks::CommandOutcome::Connected;
}

void MainWindow::showTips(bool force)
{
    explorer::TipsLauncher launcher;
    launcher.folder = m_options.tipsFolder;
    launcher.showError = [this](const QString& text) { showCommandError(text); };
    launcher.show(this, force);
}

} // namespace qb::ui
