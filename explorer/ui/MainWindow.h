#pragma once
// The explorer's main window: one connection, the data list in the middle, four dockable panes
// (quick view bar, database tree, report, SQL), two toolbars, the status bar and the menus.
//
// Threads: everything here runs on the GUI thread. The window implements ReportSink and
// BrowserWindow for that thread only; the loader and the elements get a GuiThreadBridge that
// carries their calls over. While the window waits for a loader job it pumps posted events but
// no user input, so the job can finish its calls and the user cannot start another command.
#include "common/RecentDocumentList.h"
#include "common/ReportSink.h"
#include "common/WindowConnection.h"
#include "explorer/browser/BrowserWindow.h"
#include "explorer/browser/ShowOrder.h"
#include "explorer/settings/LayoutStore.h"
#include "explorer/settings/OptionsGroups.h"
#include "explorer/settings/OptionsPages.h"
#include "explorer/settings/ViewSettings.h"
#include "explorer/ui/CommandIds.h"
#include "explorer/ui/CommandStates.h"

#include <QMainWindow>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QToolButton;
class QTreeWidgetItem;

namespace qb::browser {
class LoaderThread;
class xElement;
}
namespace qb::settings {
class ElementListStyles;
}

namespace qb::ui {

class DataListView;
class DatabaseTree;
class GuiThreadBridge;
class QuickViewBar;
class RecentMenu;
class ReportView;
class SqlPane;
class WidgetPrompts;
class WindowBackupBound;

struct MainWindowOptions {
    bool saveLayout = true; // cleared by -dontsavelayout
    QString settingsRoot = settings::explorerRootPath();
};

// The explorer's about box over `over`; the text viewer's "&About" shows it too.
void showExplorerAbout(QWidget* over);

class MainWindow : public QMainWindow, public ReportSink, public browser::BrowserWindow {
    Q_OBJECT
public:
    // The panes in the order their places are measured and restored.
    enum Pane : int { QuickViewPane = 0, TreePane = 1, ReportPane = 2, SqlPaneId = 3, PaneCount = 4 };

    using Options = struct MainWindowOptions;

    explicit MainWindow(const Options& options = Options());
    ~MainWindow() override;

    // Opens a data link file or a connection string in this window; a failure is shown in an
    // error box. True when the connection is open afterwards.
    bool openConnection(const QString& name, bool isDataLinkFile);

    // Runs a command by its id as the menu would (when it is enabled).
    void runCommand(int id);
    // Enabled states and check marks, as refreshed whenever the window is idle.
    void updateCommandStates();
    WindowSnapshot snapshot() const;

    QAction* action(int id) const;
    QDockWidget* pane(Pane pane) const { return m_panes[size_t(pane)]; }
    QToolBar* toolbar(int bandId) const;
    QLabel* statusPane(int index) const;
    QProgressBar* progressBar() const { return m_progress; }
    QMenu* fileMenu() const { return m_fileMenu; }
    DataListView& dataList() const { return *m_dataList; }
    DatabaseTree& tree() const { return *m_tree; }
    ReportView& report() const { return *m_report; }
    SqlPane& sqlPane() const { return *m_sql; }
    QuickViewBar& quickView() const { return *m_quickView; }
    browser::LoaderThread& loader() const { return *m_loader; }
    WindowConnection& connection() { return *m_connection; }
    settings::OptionsGroups& optionsGroups() { return m_groups; }
    RecentDocumentList& recentList() { return m_recent; }
    bool isConnected() const { return m_connection->isConnected(); }
    bool isIdle() const;
    int currentElementId() const { return m_currentIndex; }
    // The layout save of close and of "Save the Configuration"; 0 or the first registry error.
    long saveLayout();

    // ReportSink, GUI thread only.
    void setProgressRange(int minimum, int maximum) override;
    void setProgressPos(int pos) override;
    void hideProgress() override;
    void postText(const QString& text, int pos) override;
    void clearListColumns() override;
    void addListColumn(const QString& text, int index, int width, int format) override;
    void setColumnWidth(int index, int width) override;
    void addError(const QString& text) override;
    void addInformation(const QString& text) override;

    // BrowserWindow, GUI thread only.
    void setCurrentElement(browser::xElement* element, int index) override;
    void setListItemCount(int count) override;
    void setElementPaneText(const QString& text) override;
    void setObjectCountPaneText(const QString& text) override;
    void setSqlPaneText(const QString& text) override;
    void enableQuickViewBar(bool enable) override;
    void redrawList() override;
    void showErrorBox(const QString& title, const QString& text) override;

signals:
    // Enter, or a click on the triangle, on a "(BLOB)" or "(TEXT)" cell of the current table.
    void viewerRequested(int row, int column);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Construction.
    void createActions();
    void createMenus();
    void createToolbars();
    void createStatusBar();
    void createPanes();
    void connectViews();
    // Layout: MainWindowLayout.cpp.
    void restoreLayout();
    void applyViewFlags();
    std::vector<QDockWidget*> paneList() const;
    std::vector<QToolBar*> bandList() const;

    // Commands.
    void closeConnectionCommand();
    bool closeConnection();
    void afterConnect();
    void openDataLinkCommand();
    void openRecent(int command);
    void refreshCommand();
    void executeSql();
    void togglePane(Pane pane);
    void toggleToolbar(int bandId);
    void setToolbarsLocked(bool locked);
    void showOptions();
    void saveConfigurationCommand();
    void exportConfigurationCommand();
    void showAbout();
    void openHelpPage(int command);
    // Viewers of long values (MainWindowViewers.cpp).
    void openViewerMenu(int row, int column);
    void runViewerCommand(int id);
    void showPluginsDialog();
    void reportViewerStorageError(browser::xElement* element);
    void goBack();
    void goForward();
    void goUp();
    void setListMode(int mode);

    // Views.
    void treeItemExpanded(QTreeWidgetItem* item);
    void treeCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void listItemActivated(int row);
    void quickViewChosen(int elementId);
    void cursorChanged(int row, int column);
    void startShowIfIdle(const browser::ShowOrder& order);
    void startShowReportingErrors(const browser::ShowOrder& order);
    void showCommandError(const QString& text);
    void applyListOptions();
    void applyTreeStyles();
    void applyReportStyles();
    int listModeFor(int elementId) const;
    settings::ElementListStyles* listStylesFor(int elementId) const;
    void updateCaption();
    void scheduleCommandUpdate();
    void pumpWhileWaiting();
    void flushDeferredErrorBoxes();

    Options m_options;
    // Settings first: the loader's history reads the General group while the window lives.
    mutable settings::OptionsGroups m_groups; // its getters are not const; reading changes nothing
    settings::OptionsPages m_pages;
    settings::ViewSettings m_view;
    settings::LayoutStore m_layoutStore;
    std::unique_ptr<settings::ElementListStyles> m_sharedListStyles; // xElement#0: the one shared mode
    std::set<int> m_changedListStyles;
    RecentDocumentList m_recent;
    std::shared_ptr<WindowConnection> m_connection; // the loader's session source keeps a weak link
    std::shared_ptr<WindowBackupBound> m_bound;

    std::shared_ptr<GuiThreadBridge> m_bridge;
    std::unique_ptr<browser::LoaderThread> m_loader;
    std::unique_ptr<WidgetPrompts> m_prompts;

    DataListView* m_dataList = nullptr;
    DatabaseTree* m_tree = nullptr;
    ReportView* m_report = nullptr;
    SqlPane* m_sql = nullptr;
    QuickViewBar* m_quickView = nullptr;
    std::vector<QDockWidget*> m_panes;
    QToolBar* m_standardBar = nullptr;
    QToolBar* m_databaseBar = nullptr;
    QToolButton* m_viewModeButton = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_viewModeMenu = nullptr;
    std::unique_ptr<RecentMenu> m_recentMenu;
    QActionGroup* m_viewModes = nullptr;
    std::map<int, QAction*> m_actions;
    class QTimer* m_idleTimer = nullptr;
    std::vector<QLabel*> m_statusPanes;
    QProgressBar* m_progress = nullptr;

    browser::xElement* m_currentElement = nullptr;
    int m_currentIndex = 0;
    int m_listMode = 1; // the window's current mode (report)
    bool m_quickViewByLoader = true;
    bool m_updatePosted = false;
    bool m_closing = false;
    bool m_maximizeWhenShown = false; // restored maximised: the normal rectangle is set first
    int m_pumpDepth = 0;
    std::vector<std::pair<QString, QString>> m_deferredErrorBoxes;
    // Elements whose viewer storage failed and was reported, so it is said once per connection.
    std::set<const browser::xElement*> m_storageErrorsShown;
};

} // namespace qb::ui
