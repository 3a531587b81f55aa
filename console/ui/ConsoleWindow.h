#pragma once
// tessmar's main window: the SQL window over the result window in a splitter, the menus, the
// toolbar and the status bar (command help, keyboard language, caret row and column).
//
// One connection at a time. The SQL window edits one SQL file, and only while connected. "Execute
// query" runs the whole SQL text on the window's worker thread (SQLExecThread) inside one
// transaction; the run writes into the result window through a ResultChannel, which carries its
// calls over to this thread. While a run is active the connection commands are grayed, and
// closing the connection or the window stops the run first, so no command frees the session
// under the worker.
//
// Threads: everything here runs on the GUI thread; the window implements ResultWriter and
// RunFeedback for this thread only. While it waits for a run to stop it handles posted events
// (the run's output) but no user input.
#include "common/CommandLineOptions.h"
#include "common/RecentDocumentList.h"
#include "common/WorkerThread.h"
#include "console/script/ResultWriter.h"
#include "console/script/RunFeedback.h"
#include "console/script/StopSignal.h"
#include "console/settings/ConsoleSettings.h"
#include "console/ui/FindDialog.h"
#include "console/ui/SettingsDialog.h"
#include "common/WindowConnection.h"
#include "datalinks/DataLinkCommands.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <map>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QToolBar;

namespace qb::ui {
class RecentMenu;
}

namespace qb::console::ui {

class ConsolePrompts;
class ResultChannel;
class ResultView;
class SqlEditor;
class TextPane;

struct ConsoleWindowOptions {
    QString settingsRoot = consoleRootPath();
    // The questions and file dialogs; message boxes and file dialogs when null.
    std::shared_ptr<ConsolePrompts> prompts;
    // "Create new connection &string...": the Data Link Properties dialog when unset.
    std::function<std::shared_ptr<data::DataSource>(QWidget* owner)> promptDataSource;
    // "Create new data &link (UDL File)...": the datalink program beside this one when unset.
    std::optional<datalinks::DataLinkEditor> dataLinkEditor;
};

class ConsoleWindow : public QMainWindow, public ResultWriter, public RunFeedback {
    Q_OBJECT
public:
    using Options = ConsoleWindowOptions;
    explicit ConsoleWindow(Options options = Options());
    ~ConsoleWindow() override;

    // The command line after the window was shown: connect (-udl, else -constr), then the SQL
    // file of -sql or the text of -cmd, then -execute. Without a connection option nothing else
    // is looked at.
    void applyCommandLine(const CommandLineOptions& commandLine);

    // Opens a data link file or a connection string; failures are shown. True when connected.
    bool openConnection(const QString& name, bool isDataLinkFile);
    // Runs a command by its id as the menu would, when it is enabled.
    void runCommand(int id);
    void updateCommandStates();

    // SQL file commands; each answers whether it went through (false: cancelled, refused or
    // failed, and nothing changed).
    bool newSqlFile();
    bool openSqlFile();
    bool openSqlFileAt(const QString& path);
    bool saveSqlFile(bool choosePath);
    bool closeSqlFile();

    void executeQuery();
    void stopExecution();
    // Stops a run and waits for it (5000 ms); true when none runs afterwards.
    bool stopRun();
    bool isRunning() const { return m_runActive; }

    QAction* action(int id) const;
    SqlEditor& sqlEditor() const { return *m_sql; }
    ResultView& resultView() const { return *m_result; }
    QSplitter* splitter() const { return m_splitter; }
    QToolBar* toolbar() const { return m_toolbar; }
    QLabel* statusPane(int index) const;
    QProgressBar* progressBar() const { return m_progress; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* recentMenu() const { return m_recentConnections; }
    FindDialog* findDialog() const { return m_find; }
    FindState& findState() { return m_findState; }
    WindowConnection& connection() { return *m_connection; }
    RecentDocumentList& recentList() { return m_recent; }
    const ConsoleSettings& settings() const { return m_settings; }
    bool isConnected() const { return m_connection->isConnected(); }
    const QString& sqlPath() const { return m_sqlPath; }
    bool isUntitled() const { return m_untitled; }
    bool isModified() const;
    // The window that the edit commands and Find act on.
    TextPane& targetWindow() const;
    // The settings dialog while it is open (tests reach its fields).
    SettingsDialog* settingsDialog() const { return m_settingsDialog; }

    // Applies new settings to both windows and the colouring at once (the settings dialog).
    void applySettings(const ConsoleSettings& settings);
    // Measures the window, splitter and toolbar into the settings and writes them with the
    // recent list. Answers 0 or the first registry error.
    long saveSettings();
    // Searches the target window as "&Find Next" does.
    bool findNext();

    // ResultWriter and RunFeedback, GUI thread only (the run reaches them through its channel).
    void appendResultText(const QString& text, ResultTextCategory category) override;
    void appendPlainText(const QString& text) override;
    void holdRepaint() override;
    void releaseRepaint() override;
    void runStarted() override;
    void runFinished() override;
    void progressStarted() override;
    void progressPosition(int position) override;
    void progressFinished() override;
    void showError(const QString& text) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Construction: ConsoleWindow.cpp.
    void createActions();
    void createMenus();
    void createToolbar();
    void createStatusBar();
    void createViews();
    void applyLayout();
    void scheduleCommandUpdate();
    void updateTitle();
    void updateCaretPanes();
    void updateLanguagePane();
    void focusChanged(QWidget* now);

    // Connections: ConsoleWindowConnection.cpp.
    void openConnectionCommand();
    void openRecent(int command);
    void createDataLinkCommand();
    void createConnectionStringCommand();
    bool closeConnection();
    void afterConnect();
    template <typename Command> void runConnectionCommand(Command command);

    // Files, edit commands and find: ConsoleWindowFiles.cpp.
    bool askToSave(QMessageBox::StandardButtons buttons, const QString& caption);
    void setSqlFile(const QString& path, bool untitled);
    void editCommand(int id);
    void showFind();
    void showSettings();

    Options m_options;
    std::shared_ptr<ConsolePrompts> m_prompts;
    ConsoleSettings m_settings;
    RecentDocumentList m_recent;
    std::shared_ptr<WindowConnection> m_connection;

    // The run: the worker, its stop request and the channel that carries its output here.
    std::shared_ptr<StopSignal> m_stop;
    std::shared_ptr<ResultChannel> m_channel;
    WorkerThread m_worker; // SQLExecThread
    bool m_runActive = false;

    SqlEditor* m_sql = nullptr;
    ResultView* m_result = nullptr;
    TextPane* m_lastTarget = nullptr;
    QSplitter* m_splitter = nullptr;
    QToolBar* m_toolbar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_recentConnections = nullptr;
    std::unique_ptr<qb::ui::RecentMenu> m_recentMenu;
    std::map<int, QAction*> m_actions;
    std::vector<QLabel*> m_statusPanes;
    QProgressBar* m_progress = nullptr;
    FindState m_findState;
    QPointer<FindDialog> m_find;
    QPointer<SettingsDialog> m_settingsDialog;

    QString m_sqlPath;
    bool m_untitled = false;
    bool m_updatePosted = false;
    bool m_layoutApplied = false;
    bool m_closing = false;
};

} // namespace qb::console::ui
