#include "explorer/ui/MainWindow.h"

#include "dataaccess/ErrorText.h"
#include "dataaccess/TableData.h"
#include "explorer/browser/BrowserTexts.h"
#include "explorer/browser/ItemOpening.h"
#include "explorer/browser/LoaderThread.h"
#include "explorer/browser/TreeExpansion.h"
#include "explorer/browser/xElement.h"
#include "explorer/plugins/ui/PluginMenuPopup.h"
#include "explorer/plugins/ui/PluginStartup.h"
#include "explorer/plugins/ui/TextViewerDialog.h"
#include "explorer/settings/ElementListStyles.h"
#include "explorer/ui/CommandTable.h"
#include "explorer/ui/DataListModel.h"
#include "explorer/ui/DataListView.h"
#include "explorer/ui/DatabaseTree.h"
#include "explorer/ui/GuiThreadBridge.h"
#include "explorer/ui/Icons.h"
#include "explorer/ui/QuickViewBar.h"
#include "common/ui/RecentMenu.h"
#include "explorer/ui/ReportLog.h"
#include "explorer/ui/SqlPane.h"
#include "explorer/ui/WidgetPrompts.h"
#include "explorer/ui/WindowBackupBound.h"
#include "platform/BrelibException.h"
#include "platform/StringTable.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace qb::ui {
namespace {

constexpr int kProgramNameText = 61472;
constexpr int kReadyText = 61473;
constexpr int kPositionText = 61471;
// Any style bit besides the mode, so that a stored icon mode (0) is told from "nothing stored".
constexpr uint32_t kShowSelectionAlways = 0x0008;
constexpr int kIdleRefreshMs = 250;

// Fills the "%i" and "%s" of one of our texts in order; a value is never read as a format itself.
QString fillPrintf(QString format, std::initializer_list<QString> values)
{
    qsizetype from = 0;
    for (const QString& v : values) {
        const qsizetype at = format.indexOf(QLatin1Char('%'), from);
        if (at < 0)
            break;
        format.replace(at, 2, v);
        from = at + v.size();
    }
    return format;
}

} // namespace

MainWindow::MainWindow(const Options& options)
    : m_options(options), m_groups(options.settingsRoot), m_pages(m_groups), m_view(options.settingsRoot),
      m_layoutStore(options.settingsRoot), m_connection(std::make_shared<WindowConnection>()),
      m_bound(std::make_shared<WindowBackupBound>(m_groups.general().maxBackupPoints()))
{
    setWindowIcon(programIcon());
    m_view.loadSave(settings::SettingsGroup::Read);
    m_sharedListStyles = std::make_unique<settings::ElementListStyles>(0, options.settingsRoot);
    m_sharedListStyles->loadSave(settings::SettingsGroup::Read);
    m_prompts = std::make_unique<WidgetPrompts>(this);

    m_dataList = new DataListView(this);
    setCentralWidget(m_dataList);
    m_dataList->setGate([this] { return isConnected() && isIdle(); });

    plugins::startPlugins();
    plugins::TextViewerDialog::setAboutBox(showExplorerAbout);
    m_bridge = GuiThreadBridge::create(this, this, this);
    browser::BrowserState::Parts parts;
    parts.sink = m_bridge;
    parts.window = m_bridge;
    parts.session = [weak = std::weak_ptr<WindowConnection>(m_connection)]() -> std::shared_ptr<data::Session> {
        const auto connection = weak.lock();
        return connection ? connection->session() : nullptr;
    };
    parts.settingsRoot = options.settingsRoot;
    parts.bound = m_bound;
    m_loader = std::make_unique<browser::LoaderThread>(std::move(parts));
    m_loader->setWaitPump([this] { pumpWhileWaiting(); });

    WindowConnection::Hooks hooks;
    hooks.closeConnection = [this] { return closeConnection(); };
    hooks.addToRecentList = [this](const QString& path) { m_recent.add(path); };
    hooks.afterConnect = [this] { afterConnect(); };
    m_connection->setHooks(std::move(hooks));

    createActions();
    createMenus();
    createToolbars();
    createStatusBar();
    createPanes();
    connectViews();

    restoreLayout();
    m_recentMenu = std::make_unique<RecentMenu>(m_fileMenu, [this](int command) { openRecent(command); });
    m_recent.attachMenu(m_recentMenu.get());
    m_recent.read(options.settingsRoot);
    applyListOptions();
    applyTreeStyles();
    applyReportStyles();
    if (m_view.firstStart())
        tabifyDockWidget(m_panes[TreePane], m_panes[SqlPaneId]);
    // Shown only when the element accepts SQL and the user asks for it.
    m_panes[SqlPaneId]->hide();

    updateCaption();
    m_idleTimer = new QTimer(this);
    connect(m_idleTimer, &QTimer::timeout, this, &MainWindow::updateCommandStates);
    m_idleTimer->start(kIdleRefreshMs);
    updateCommandStates();
}

MainWindow::~MainWindow()
{
    m_closing = true;
    m_recent.attachMenu(nullptr);
    // Nothing a job says may reach a window being taken apart, and its posted calls go now.
    m_bridge->detach();
    QCoreApplication::removePostedEvents(this);
    m_loader->stop();
    m_loader.reset();
    // The children go after this destructor; what they signal while going must not reach it.
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    // After the loader: its table elements hand values to the host until they go.
    plugins::stopPlugins();
}

bool MainWindow::isIdle() const
{
    return !m_loader || !m_loader->isBusy();
}

QAction* MainWindow::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QToolBar* MainWindow::toolbar(int bandId) const
{
    return bandId == kBandStandard ? m_standardBar : bandId == kBandDatabase ? m_databaseBar : nullptr;
}

QLabel* MainWindow::statusPane(int index) const
{
    return index >= 0 && index < int(m_statusPanes.size()) ? m_statusPanes[size_t(index)] : nullptr;
}

// --- construction ---------------------------------------------------------------------------

void MainWindow::createActions()
{
    m_viewModes = new QActionGroup(this);
    for (const CommandSpec& command : commandTable()) {
        auto* a = new QAction(QString::fromUtf16(command.text), this);
        a->setData(command.id);
        if (command.key)
            a->setShortcut(QKeySequence(QString::fromLatin1(command.key)));
        if (command.themeIcon || command.ownIcon)
            a->setIcon(themedIcon(command.themeIcon, command.ownIcon));
        a->setCheckable(command.checkable);
        a->setToolTip(QString::fromUtf16(command.text).remove(QLatin1Char('&')));
        // Checks follow the window's state; a click only asks for the command.
        connect(a, &QAction::triggered, this, [this, id = command.id] { runCommand(id); });
        addAction(a);
        m_actions[command.id] = a;
    }
    for (int id : std::initializer_list<int>{kCmdIcons, kCmdSmallIcons, kCmdList, kCmdReport})
        m_viewModes->addAction(m_actions[id]);
}

void MainWindow::createMenus()
{
    auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (int id : ids) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(m_actions[id]);
        }
    };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    add(m_fileMenu, {kCmdNewDataLink, kCmdNewConnectionString, kCmdOpenDataLink, kCmdCloseConnection, 0});
    auto* placeholder = m_fileMenu->addAction(QStringLiteral("(empty)"));
    placeholder->setData(int(kCmdFirstRecent));
    placeholder->setEnabled(false);
    add(m_fileMenu, {0, kCmdExit});

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QMenu* toolbars = view->addMenu(QStringLiteral("&Toolbars"));
    add(toolbars, {kCmdStandardButtons, kCmdDatabaseButtons, 0, kCmdLockToolBars});
    add(view, {kCmdStatusBar, 0, kCmdQuickViewBar, kCmdDatabaseTree, kCmdReportWindow, kCmdSqlWindow, 0, kCmdBack,
               kCmdForward, kCmdUp, 0, kCmdStop, kCmdRefresh, 0});
    m_viewModeMenu = view->addMenu(QStringLiteral("List &view"));
    add(m_viewModeMenu, {kCmdIcons, kCmdSmallIcons, kCmdList, kCmdReport});

    QMenu* database = menuBar()->addMenu(QStringLiteral("&Database"));
    add(database, {kCmdPreviousRow, kCmdNextRow, 0, kCmdExecuteSql});

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    add(options, {kCmdConfiguration, 0, kCmdSaveConfiguration, kCmdExportConfiguration});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, {kCmdTipOfTheDay, 0, kCmdPlugins});
    // Plug-ins bring their own about boxes through the Plug-ins dialog; this menu stays empty.
    QMenu* aboutPlugins = help->addMenu(QStringLiteral("About Plug-ins"));
    QAction* noPlugins = aboutPlugins->addAction(QStringLiteral("(empty)"));
    noPlugins->setData(int(kCmdAboutPluginsEmpty));
    noPlugins->setEnabled(false);
    add(help, {0, kCmdHelpHomePage, kCmdHelpQuillbasePage, kCmdHelpMail, kCmdHelpBugReport, 0, kCmdAbout});

    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &MainWindow::updateCommandStates);
}

void MainWindow::createToolbars()
{
    m_standardBar = new QToolBar(QStringLiteral("Standard Buttons"), this);
    m_standardBar->setObjectName(QStringLiteral("band%1").arg(kBandStandard));
    m_databaseBar = new QToolBar(QStringLiteral("Database Buttons"), this);
    m_databaseBar->setObjectName(QStringLiteral("band%1").arg(kBandDatabase));
    for (QToolBar* bar : {m_standardBar, m_databaseBar}) {
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setFloatable(false);
        bar->setIconSize(QSize(24, 24));
        bar->toggleViewAction()->setVisible(false);
        addToolBar(Qt::TopToolBarArea, bar);
    }
    for (int id : std::initializer_list<int>{kCmdOpenDataLink, kCmdCloseConnection, 0, kCmdBack, kCmdForward, kCmdUp, kCmdStop, kCmdRefresh, 0}) {
        if (id == 0)
            m_standardBar->addSeparator();
        else
            m_standardBar->addAction(m_actions[id]);
    }
    m_viewModeButton = new QToolButton(m_standardBar);
    m_viewModeButton->setDefaultAction(m_actions[kCmdChangeListView]);
    m_viewModeButton->setMenu(m_viewModeMenu);
    m_viewModeButton->setPopupMode(QToolButton::InstantPopup);
    m_standardBar->addWidget(m_viewModeButton);
    m_standardBar->addSeparator();
    m_standardBar->addAction(m_actions[kCmdConfiguration]);

    for (int id : std::initializer_list<int>{kCmdPreviousRow, kCmdNextRow, 0, kCmdSqlWindow, 0, kCmdExecuteSql}) {
        if (id == 0)
            m_databaseBar->addSeparator();
        else
            m_databaseBar->addAction(m_actions[id]);
    }
}

void MainWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    const QFontMetrics fm = bar->fontMetrics();
    // Each pane is as wide as its format followed by some blanks.
    const QString formats[] = {QString(), loadString(browser::kTextElementCaption) + QStringLiteral("                    "),
                               loadString(browser::kTextObjectCount) + QStringLiteral("          "),
                               loadString(kPositionText) + QStringLiteral("          ")};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(bar);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(QStringLiteral("statusPane%1").arg(i));
        if (i == 0) {
            label->setText(loadString(kReadyText));
            bar->addWidget(label, 1);
            m_statusPanes.push_back(label);
            continue;
        }
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumWidth(fm.horizontalAdvance(formats[i]));
        if (i == 2) {
            // The progress bar lives in the pane that shows the item count.
            auto* box = new QWidget(bar);
            auto* row = new QHBoxLayout(box);
            row->setContentsMargins(0, 0, 0, 0);
            row->addWidget(label);
            m_progress = new QProgressBar(box);
            m_progress->setRange(0, 100);
            m_progress->setTextVisible(false);
            m_progress->setMaximumHeight(fm.height());
            m_progress->setMinimumWidth(fm.horizontalAdvance(formats[i]));
            m_progress->hide();
            row->addWidget(m_progress);
            bar->addPermanentWidget(box);
        } else {
            bar->addPermanentWidget(label);
        }
        m_statusPanes.push_back(label);
    }
}

void MainWindow::createPanes()
{
    m_quickView = new QuickViewBar(this);
    m_tree = new DatabaseTree(this);
    m_report = new ReportView(this);
    m_sql = new SqlPane(this);
    struct PaneSetup {
        const char* caption;
        const char* name;
        QWidget* content;
        int command;
    };
    const PaneSetup panes[PaneCount] = {
        {"Database Quick View", "CDataBaseQuickViewDockingWindow", m_quickView, kCmdQuickViewBar},
        {"Database Tree View", "CDataBaseTreeDockingWindow", m_tree, kCmdDatabaseTree},
        {"Report", "CReportDockingWindow", m_report, kCmdReportWindow},
        {"SQL Query", "CSQLDockingWindow", m_sql, kCmdSqlWindow},
    };
    for (const PaneSetup& pane : panes) {
        auto* dock = new QDockWidget(QString::fromLatin1(pane.caption), this);
        dock->setObjectName(QString::fromLatin1(pane.name));
        dock->setWidget(pane.content);
        dock->toggleViewAction()->setVisible(false);
        connect(dock, &QDockWidget::visibilityChanged, this, &MainWindow::scheduleCommandUpdate);
        m_panes.push_back(dock);
    }
    const browser::ElementCaptions captions = m_loader->state().elements().captions();
    m_quickView->addItem(captions.tables, browser::kTablesFolderImage, browser::kTablesFolder);
    m_quickView->addItem(captions.procedures, browser::kProceduresFolderImage, browser::kProceduresFolder);
    m_quickView->addItem(captions.views, browser::kViewsFolderImage, browser::kViewsFolder);

    // The places of a fresh profile; a saved layout moves them.
    addDockWidget(Qt::LeftDockWidgetArea, m_panes[QuickViewPane]);
    splitDockWidget(m_panes[QuickViewPane], m_panes[TreePane], Qt::Vertical);
    addDockWidget(Qt::BottomDockWidgetArea, m_panes[ReportPane]);
    addDockWidget(Qt::BottomDockWidgetArea, m_panes[SqlPaneId]);
    m_panes[SqlPaneId]->hide();
}

void MainWindow::connectViews()
{
    connect(m_tree, &QTreeWidget::itemExpanded, this, &MainWindow::treeItemExpanded);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &MainWindow::treeCurrentChanged);
    connect(m_dataList, &DataListView::itemActivated, this, &MainWindow::listItemActivated);
    connect(m_dataList, &DataListView::cursorChanged, this, &MainWindow::cursorChanged);
    connect(m_dataList, &DataListView::viewerRequested, this, &MainWindow::viewerRequested);
    connect(m_dataList, &DataListView::pageFailed, this, &MainWindow::showCommandError);
    connect(m_quickView, &QuickViewBar::elementChosen, this, &MainWindow::quickViewChosen);
    connect(this, &MainWindow::viewerRequested, this, &MainWindow::openViewerMenu);
}

// --- state refresh --------------------------------------------------------------------------

WindowSnapshot MainWindow::snapshot() const
{
    WindowSnapshot s;
    s.connected = isConnected();
    s.idle = isIdle();
    s.currentElement = m_currentIndex;
    s.currentAcceptsSql = m_currentElement && m_currentElement->acceptsSql();
    s.sqlPaneVisible = !m_panes[SqlPaneId]->isHidden();
    const browser::NavigationHistory& history = m_loader->state().history();
    s.canGoBack = history.canGoBack();
    s.canGoForward = history.canGoForward();
    return s;
}

void MainWindow::updateCommandStates()
{
    if (m_closing)
        return;
    const WindowSnapshot s = snapshot();
    for (auto& [id, a] : m_actions)
        a->setEnabled(commandEnabled(id, s));
    m_viewModeButton->setEnabled(commandEnabled(kCmdChangeListView, s));
    m_actions[kCmdStandardButtons]->setChecked(!m_standardBar->isHidden());
    m_actions[kCmdDatabaseButtons]->setChecked(!m_databaseBar->isHidden());
    m_actions[kCmdLockToolBars]->setChecked(m_view.toolbarsLocked());
    m_actions[kCmdStatusBar]->setChecked(!statusBar()->isHidden());
    // A floating pane counts as shown.
    m_actions[kCmdQuickViewBar]->setChecked(!m_panes[QuickViewPane]->isHidden());
    m_actions[kCmdDatabaseTree]->setChecked(!m_panes[TreePane]->isHidden());
    m_actions[kCmdReportWindow]->setChecked(!m_panes[ReportPane]->isHidden());
    m_actions[kCmdSqlWindow]->setChecked(!m_panes[SqlPaneId]->isHidden());
    const int modeCommand[] = {kCmdIcons, kCmdReport, kCmdSmallIcons, kCmdList};
    m_actions[modeCommand[std::clamp(m_listMode, 0, 3)]]->setChecked(true);
    // Off while a job runs (the job says so too, but its word may still be on its way).
    m_quickView->setEnabled(s.connected && s.idle && m_quickViewByLoader);
    // The SQL pane goes when the element shown does not take SQL.
    if (!s.currentAcceptsSql && !m_panes[SqlPaneId]->isHidden() && s.idle)
        m_panes[SqlPaneId]->hide();
}

void MainWindow::scheduleCommandUpdate()
{
    if (m_updatePosted || m_closing)
        return;
    m_updatePosted = true;
    QTimer::singleShot(0, this, [this] {
        m_updatePosted = false;
        updateCommandStates();
    });
}

void MainWindow::updateCaption()
{
    setWindowTitle(loadString(kProgramNameText) + m_connection->captionSuffix());
}

void MainWindow::pumpWhileWaiting()
{
    ++m_pumpDepth;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    --m_pumpDepth;
}

// --- commands -------------------------------------------------------------------------------

void MainWindow::runCommand(int id)
{
    if (m_closing)
        return;
    if (plugins::isPluginCommand(id)) {
        runViewerCommand(id);
        return;
    }
    QAction* a = action(id);
    // The gate again at the start of the handler: the state may have changed since the refresh.
    const bool recent = id >= kCmdFirstRecent && id <= kCmdLastRecent;
    if (!recent && (!a || !commandEnabled(id, snapshot()))) {
        updateCommandStates();
        return;
    }
    switch (id) {
    case kCmdNewDataLink:
    case kCmdNewConnectionString:
    case kCmdOpenDataLink:
        newConnectionCommand(id);
        break;
    case kCmdTipOfTheDay:
        showTips(true);
        break;
    case kCmdCloseConnection:
        closeConnectionCommand();
        break;
    case kCmdExit:
        close();
        break;
    case kCmdStandardButtons:
    case kCmdDatabaseButtons:
        toggleToolbar(id == kCmdStandardButtons ? kBandStandard : kBandDatabase);
        break;
    case kCmdLockToolBars:
        setToolbarsLocked(!m_view.toolbarsLocked());
        break;
    case kCmdStatusBar:
        statusBar()->setVisible(statusBar()->isHidden());
        break;
    case kCmdQuickViewBar:
        togglePane(QuickViewPane);
        break;
    case kCmdDatabaseTree:
        togglePane(TreePane);
        break;
    case kCmdReportWindow:
        togglePane(ReportPane);
        break;
    case kCmdSqlWindow:
        togglePane(SqlPaneId);
        break;
    case kCmdBack:
        goBack();
        break;
    case kCmdForward:
        goForward();
        break;
    case kCmdUp:
        goUp();
        break;
    case kCmdStop:
        m_loader->stopByUser();
        break;
    case kCmdRefresh:
        refreshCommand();
        break;
    case kCmdChangeListView:
        m_viewModeButton->showMenu();
        break;
    case kCmdIcons:
        setListMode(DataListView::IconsMode);
        break;
    case kCmdSmallIcons:
        setListMode(DataListView::SmallIconsMode);
        break;
    case kCmdList:
        setListMode(DataListView::ListMode);
        break;
    case kCmdReport:
        setListMode(DataListView::ReportMode);
        break;
    case kCmdPreviousRow:
        m_dataList->pressCursorKey(Qt::Key_Up);
        break;
    case kCmdNextRow:
        m_dataList->pressCursorKey(Qt::Key_Down);
        break;
    case kCmdExecuteSql:
        executeSql();
        break;
    case kCmdConfiguration:
        showOptions();
        break;
    case kCmdSaveConfiguration:
        saveConfigurationCommand();
        break;
    case kCmdExportConfiguration:
        exportConfigurationCommand();
        break;
    case kCmdPlugins:
        showPluginsDialog();
        break;
    case kCmdAbout:
        showAbout();
        break;
    case kCmdHelpHomePage:
    case kCmdHelpMail:
    case kCmdHelpQuillbasePage:
    case kCmdHelpBugReport:
        openHelpPage(id);
        break;
    default:
        if (recent)
            openRecent(id);
        break;
    }
    scheduleCommandUpdate();
}

void MainWindow::showCommandError(const QString& text)
{
    showPlainMessage(this, settings::MessageIcon::Error, loadString(data::kErrorBoxTitle), text);
}

void MainWindow::afterConnect()
{
    browser::ElementSet& elements = m_loader->state().elements();
    m_tree->resetRoot(elements.captions().database);
    updateCaption();
    browser::ShowOrder first;
    first.jobCode = m_groups.general().goDirectlyToTableFldr() ? -browser::kTablesFolder : -browser::kDatabaseElement;
    startShowReportingErrors(first);
}

void MainWindow::openRecent(int command)
{
    const QString path = m_recent.pathForCommand(command);
    if (!path.isEmpty())
        openConnection(path, true);
}

void MainWindow::closeConnectionCommand()
{
    closeConnection();
}

bool MainWindow::closeConnection()
{
    m_loader->waitBeforeClose([this](const browser::LoaderThread::Question& q) {
        QMessageBox box(QMessageBox::Warning, q.title, q.text, QMessageBox::Yes | QMessageBox::No, this);
        box.setTextFormat(Qt::PlainText);
        return box.exec() == QMessageBox::Yes;
    });
    // What a finished job posted must not arrive after the window was cleared.
    m_bridge->dropPending();
    m_loader->clearAfterClose();
    m_storageErrorsShown.clear();
    m_connection->close();
    m_tree->clear();
    clearListColumns();
    hideProgress();
    for (int i = 1; i < int(m_statusPanes.size()); ++i)
        m_statusPanes[size_t(i)]->clear();
    m_quickViewByLoader = true;
    updateCaption();
    scheduleCommandUpdate();
    return true;
}

void MainWindow::startShowReportingErrors(const browser::ShowOrder& order)
{
    try {
        m_loader->startShow(order);
    } catch (const Brelib::exception& e) {
        showCommandError(e.text());
    }
    scheduleCommandUpdate();
}

void MainWindow::startShowIfIdle(const browser::ShowOrder& order)
{
    if (isIdle())
        startShowReportingErrors(order);
}

void MainWindow::refreshCommand()
{
    browser::ShowOrder order;
    order.jobCode = m_currentIndex;
    if (m_currentElement) {
        browser::ShowRequest request = m_currentElement->currentShowRequest().value_or(browser::ShowRequest{});
        request.redraw = true;
        request.refresh = true;
        order.request = request;
        order.object = m_currentElement->object();
    } else {
        order.request = browser::ShowRequest{QString(), true, true};
    }
    if (order.jobCode > 0)
        startShowReportingErrors(order);
}

void MainWindow::executeSql()
{
    if (!isConnected() || m_currentIndex <= 0)
        return;
    browser::ShowOrder order;
    order.jobCode = m_currentIndex;
    order.request = browser::ShowRequest{m_sql->toPlainText(), true, true};
    if (m_currentElement)
        order.object = m_currentElement->object();
    startShowReportingErrors(order);
}

namespace {

browser::HistoryPoint pointFor(browser::xElement* element, int index)
{
    browser::HistoryPoint point;
    point.element = index;
    if (element) {
        point.name = element->name();
        point.request = element->currentShowRequest();
        point.object = element->object();
    }
    return point;
}

} // namespace

void MainWindow::goBack()
{
    try {
        m_loader->state().history().goBack(pointFor(m_currentElement, m_currentIndex));
    } catch (const Brelib::exception& e) {
        showCommandError(e.text());
    }
}

void MainWindow::goForward()
{
    try {
        m_loader->state().history().goForward(pointFor(m_currentElement, m_currentIndex));
    } catch (const Brelib::exception& e) {
        showCommandError(e.text());
    }
}

void MainWindow::goUp()
{
    if (!m_currentElement)
        return;
    try {
        m_loader->state().history().goUp(m_currentElement->parentId());
    } catch (const Brelib::exception& e) {
        showCommandError(e.text());
    }
}

void MainWindow::togglePane(Pane pane)
{
    QDockWidget* dock = m_panes[size_t(pane)];
    if (dock->isHidden()) {
        dock->show();
        dock->raise();
    } else {
        dock->hide();
    }
}

void MainWindow::toggleToolbar(int bandId)
{
    QToolBar* bar = toolbar(bandId);
    bar->setVisible(bar->isHidden());
}

void MainWindow::setToolbarsLocked(bool locked)
{
    m_view.setToolbarsLocked(locked);
    for (QToolBar* bar : bandList())
        bar->setMovable(!locked);
}

settings::ElementListStyles* MainWindow::listStylesFor(int elementId) const
{
    if (!m_groups.dataList().useIndividualProperties())
        return m_sharedListStyles.get();
    return m_loader->state().elements().listStyles(elementId);
}

int MainWindow::listModeFor(int elementId) const
{
    const settings::ElementListStyles* styles = listStylesFor(elementId);
    const uint32_t value = styles ? styles->listViewStyles() : 0;
    // 0: nothing stored, the window's current mode goes on.
    return value ? int(value & 3u) : m_listMode;
}

void MainWindow::setListMode(int mode)
{
    m_listMode = mode;
    m_dataList->setMode(mode);
    if (settings::ElementListStyles* styles = listStylesFor(m_currentIndex)) {
        styles->setListViewStyles(uint32_t(mode) | kShowSelectionAlways);
        m_changedListStyles.insert(styles->slot());
    }
}

void MainWindow::applyListOptions()
{
    const settings::DataListSettings& list = m_groups.dataList();
    DataListView::Options o;
    o.showGrid = list.showGrid();
    o.fullRow = list.fullRowSelect();
    o.tipOnClick = list.tooltipOnClick();
    o.tipOnShiftClick = list.tooltipOnShiftClick();
    m_dataList->setOptions(o);
}

void MainWindow::applyTreeStyles()
{
    const settings::DataTreeSettings& t = m_groups.dataTree();
    m_tree->setStyles({t.hasButtons(), t.hasLines(), t.fullRowSelect(), t.trackSelect()});
}

void MainWindow::applyReportStyles()
{
    m_report->setStyles(m_groups.reportWindow().showGrid(), m_groups.reportWindow().fullRowSelect());
}

// --- views ----------------------------------------------------------------------------------

void MainWindow::treeItemExpanded(QTreeWidgetItem* item)
{
    if (!item || item->childCount() > 0)
        return;
    if (!isIdle() || !isConnected()) {
        // Ignored while a job runs; collapsed again so that the user can expand it later.
        const QSignalBlocker block(m_tree);
        item->setExpanded(false);
        return;
    }
    browser::ElementSet& elements = m_loader->state().elements();
    const int id = browser::elementForTreeNode(elements.captions(), item->text(0), DatabaseTree::parentText(item));
    m_tree->fillChildren(item, browser::expandTreeNode(elements, id));
    if (item->childCount() == 0)
        item->setExpanded(false);
}

void MainWindow::treeCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (!current || !isConnected())
        return;
    if (!isIdle()) {
        // Ignored while a job runs: the selection goes back to where it was.
        const QSignalBlocker block(m_tree);
        m_tree->setCurrentItem(previous);
        return;
    }
    const browser::ShowOrder order = browser::orderForTreeNode(m_loader->state().elements(), current->text(0),
                                                               DatabaseTree::parentText(current));
    if (order.jobCode != 0)
        startShowReportingErrors(order);
}

void MainWindow::listItemActivated(int row)
{
    if (!isConnected() || !m_currentElement || !m_currentElement->isLoaded())
        return;
    const QString text = m_currentElement->cellText(row, 0).left(1024);
    const browser::ShowOrder order = browser::orderForOpenedItem(m_loader->state().elements(), m_currentIndex, text);
    if (order.jobCode != 0)
        startShowReportingErrors(order);
}

void MainWindow::quickViewChosen(int elementId)
{
    if (!isConnected())
        return;
    browser::ShowOrder order;
    order.jobCode = elementId;
    startShowIfIdle(order);
}

void MainWindow::cursorChanged(int row, int column)
{
    QLabel* pane = m_statusPanes[3];
    if (!m_currentElement || m_dataList->model().rowCount() == 0) {
        pane->clear();
        return;
    }
    // Rows count from 1 through the whole table; fields from 1, the untitled marker column of a
    // table being 0.
    long long absoluteRow = row + 1;
    int field = column + 1;
    if (data::TableData* table = m_currentElement->tableData()) {
        absoluteRow += (long long)table->currentPage() * data::TableData::kPageSize;
        field = column;
    }
    pane->setText(fillPrintf(loadString(kPositionText), {QString::number(absoluteRow), QString::number(field)}));
}

} // namespace qb::ui
