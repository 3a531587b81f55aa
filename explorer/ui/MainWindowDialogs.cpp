// The options dialog and what the window applies after it, the configuration save and export,
// the about box and the help pages.
#include "explorer/ui/MainWindow.h"

#include "dataaccess/LibraryVersions.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/settings/ConfigurationCommands.h"
#include "explorer/settings/SettingsStrings.h"
#include "explorer/ui/DataListView.h"
#include "explorer/ui/Icons.h"
#include "explorer/ui/OptionsDialog.h"
#include "explorer/ui/WidgetPrompts.h"
#include "explorer/ui/WindowBackupBound.h"
#include "platform/StringTable.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qb::ui {
namespace {

constexpr int kMissingHelpPageText = 61475;

QString helpPage(int command)
{
    switch (command) {
    case kCmdHelpHomePage:
        return QStringLiteral("qorvex.html");
    case kCmdHelpQuillbasePage:
        return QStringLiteral("index.html");
    case kCmdHelpMail:
        return QStringLiteral("contact.html");
    case kCmdHelpBugReport:
        return QStringLiteral("contact.html#problems");
    default:
        return QString();
    }
}

} // namespace

void MainWindow::showOptions()
{
    OptionsDialog dialog(m_pages, *m_prompts, this);
    dialog.exec();
    using namespace settings::strings;
    if (m_pages.wasApplied(GeneralPage)) {
        m_recent.setMaximumEntries(int(m_groups.general().recentListMaxEnteries()));
        m_bound->set(m_groups.general().maxBackupPoints());
    }
    if (m_pages.wasApplied(DataListPage)) {
        applyListOptions();
        // The list shows its element again with the new flags.
        if (isConnected() && m_currentIndex > 0) {
            m_listMode = listModeFor(m_currentIndex);
            m_dataList->setMode(m_listMode);
            refreshCommand();
        }
        redrawList();
    }
    if (m_pages.wasApplied(DataTreePage))
        applyTreeStyles();
    if (m_pages.wasApplied(ReportWindowPage))
        applyReportStyles();
}

void MainWindow::saveConfigurationCommand()
{
    settings::saveConfiguration([this] { return saveLayout(); }, m_groups, *m_prompts);
}

void MainWindow::exportConfigurationCommand()
{
    settings::exportConfiguration(*m_prompts, [this] { saveConfigurationCommand(); }, m_options.settingsRoot);
}

void showExplorerAbout(QWidget* over)
{
    const QString odbc = data::odbcDriverManagerVersion();
    const QString text = QStringLiteral("Vexa@Qorvex, the database explorer of the Quillbase suite\n"
                                        "Version %1.%2\n\n"
                                        "Qt %3\nSQLite %4\nunixODBC driver manager %5")
                             .arg(settings::kSettingsMajorVersion)
                             .arg(settings::kSettingsMinorVersion)
                             .arg(QString::fromLatin1(qVersion()), data::sqliteLibraryVersion(),
                                  odbc.isEmpty() ? QStringLiteral("(not available)") : odbc);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About the Vexa@Qorvex"), text, QMessageBox::Ok, over);
    box.setTextFormat(Qt::PlainText);
    box.setIconPixmap(programIcon().pixmap(QSize(48, 48)));
    box.exec();
}

void MainWindow::showAbout()
{
    showExplorerAbout(this);
}

void MainWindow::openHelpPage(int command)
{
    // The documentation is installed beside the program: <prefix>/share/doc/quillbase.
    const QString page = helpPage(command);
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const QString fragment = page.section(QLatin1Char('#'), 1);
    const QString path = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/quillbase")).absoluteFilePath(file);
    if (!QFileInfo::exists(path)) {
        showCommandError(loadString(kMissingHelpPageText).replace(QLatin1String("%s"), QDir::cleanPath(path)));
        return;
    }
    QUrl url = QUrl::fromLocalFile(QDir::cleanPath(path));
    url.setFragment(fragment);
    QDesktopServices::openUrl(url);
}

} // namespace qb::ui
